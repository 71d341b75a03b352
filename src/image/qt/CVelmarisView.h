#pragma once
// The sonar view: shows the document's raster centred in the window,
// clipped to the sonar sector, with grid, head-position line, read-outs,
// status texts, the measurement overlay and the colour indicator bar. Every
// paint renders a whole frame off screen and copies it in one step, so the
// window never shows a half-drawn picture.
//
// Ownership: the view does not own its source (the document), which must
// outlive it or be detached with SetSource(nullptr). Thread: UI thread only.

#include <QImage>
#include <QWidget>

#include "image/ViewGeometry.h"

namespace velmaris {

class ViewSource;

class CVelmarisView : public QWidget {
    Q_OBJECT
public:
    explicit CVelmarisView(ViewSource* source, QWidget* parent = nullptr);

    // With no source nothing is drawn.
    void SetSource(ViewSource* source);
    ViewSource* Source() const { return source_; }

    // Pan, drag, measurement and blink state, for the mouse handling.
    ViewInteraction& Interaction() { return view_; }
    const ViewInteraction& Interaction() const { return view_; }

    // The last rendered frame (black until the first paint).
    const QImage& Frame() const { return buffer_; }

public slots:
    // Update hints from the document: 0 repaints, anything else (10: the
    // colour table changed; the next ping shows it) is ignored.
    void OnUpdate(int hint);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void RecreateBuffer(const QSize& size);

    ViewSource* source_ = nullptr;
    ViewInteraction view_;
    QImage buffer_; // off-screen frame, the window's size
};

} // namespace velmaris
