#pragma once
// The sonar view: shows the document's raster centred in the window,
// clipped to the sonar sector, with grid, head-position line, read-outs,
// status texts, the measurement overlay and the colour indicator bar. Every
// paint renders a whole frame off screen and copies it in one step, so the
// window never shows a half-drawn picture. The mouse pans the image (left
// drag), places and lifts the measurement anchor in measure mode (each
// finished measurement is announced), and steps the zoom (wheel); every
// move updates the cursor read-out.
//
// Pixels are the widget's own (device-independent) pixels at any device
// pixel ratio: the frame is rendered at the widget's size, so one raster
// pixel is one mouse pixel and the read-outs do not change with the ratio.
//
// Ownership: the view does not own its source (the document), which must
// outlive it or be detached with SetSource(nullptr). Thread: UI thread only.

#include <QCursor>
#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

#include "image/FramePacer.h"
#include "image/MeasuredTargets.h"
#include "image/ViewGeometry.h"
#include "image/ViewReadouts.h"
#include "image/qt/StrokeCache.h"

class QTimer;

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

    // "Measure Target": toggles measure mode (the menu checks MeasureModeOn).
    void ToggleMeasureMode();
    bool MeasureModeOn() const { return view_.measureMode; }

    // The read-out of the last mouse move, in metres and degrees.
    const CursorReading& Reading() const { return reading_; }

    // The sonar cursor for the current device pixel ratio.
    static QCursor SonarCursor(qreal devicePixelRatio);

    // A new picture for the next frame: requests between two frames are
    // served by one paint at the display's frame rate (FramePacer).
    void RequestFrame();
    // A requested frame has not been painted yet.
    bool FramePending() const { return pacer_.Pending(); }
    // Frames painted since construction.
    quint64 FramesPainted() const { return framesPainted_; }

signals:
    // After every mouse move over the view: Reading() holds the new values.
    void cursorRead();
    // A click lifted the measurement anchor: `target` holds both ends, the
    // size, the wall clock and the date and time of the ping on screen.
    void targetMeasured(const velmaris::MeasuredTarget& target);
    // The wheel turned: +1 per notch away from the operator ("Zoom In"),
    // -1 per notch towards ("Zoom Out").
    void zoomStepRequested(int step);

public slots:
    // Update hints from the document: 0 asks for the next frame
    // (RequestFrame), anything else (10: the colour table changed; the next
    // ping shows it) is ignored.
    void OnUpdate(int hint);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    void RecreateBuffer(const QSize& size);
    void RefreshCursor();
    void PaintFrame();
    double NowMs() const { return static_cast<double>(clock_.nsecsElapsed()) / 1e6; }
    ReadoutFrame CurrentFrame() const;

    ViewSource* source_ = nullptr;
    ViewInteraction view_;
    QImage buffer_; // off-screen frame, the window's size
    StrokeCache strokes_; // the grid's pixels on buffer_, kept from frame to frame
    CursorReading reading_;
    qreal cursorRatio_ = 0; // device pixel ratio the cursor was drawn for
    int wheelRemainder_ = 0; // eighths of a degree short of a whole notch
    FramePacer pacer_;
    QTimer* frameTimer_ = nullptr; // child; one-shot, the next frame
    QElapsedTimer clock_;
    quint64 framesPainted_ = 0;
};

} // namespace velmaris
