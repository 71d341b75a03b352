#pragma once
// The playback bar: one line under the toolbar while a file plays back.
// Left to right: "File Pos:", the position slider (0..100, a tick every 10),
// the speed indicator (0..12), the speed spin (0..12) and "Speed". It shows
// and reports only; the playback rules live with the document.

#include <QWidget>

class QProgressBar;
class QSlider;

namespace velmaris {

class CSpinButton;

class CPlaybackBar : public QWidget {
    Q_OBJECT
public:
    explicit CPlaybackBar(QWidget* parent = nullptr);

    QSlider* PositionSlider() const { return slider_; }
    QProgressBar* SpeedIndicator() const { return progress_; }
    CSpinButton* SpeedSpin() const { return spin_; }

    void SetPositionRange(int lower, int upper);
    void SetTickInterval(int interval);
    // Moves the slider without reporting it as the operator's move.
    void SetPosition(int position);
    int Position() const;
    int PositionMinimum() const;
    int PositionMaximum() const;

    // Spin and indicator share range and value.
    void SetSpeedRange(int lower, int upper);
    void SetSpeed(int speed);

signals:
    // The operator took hold of the slider (on its thumb or its track) / let
    // it go: one release for each press, the seek's moment.
    void positionPressed();
    void positionReleased();
    // A speed spin click: +1 or -1.
    void speedDelta(int delta);

private:
    QSlider* slider_;
    QProgressBar* progress_;
    CSpinButton* spin_;
};

} // namespace velmaris
