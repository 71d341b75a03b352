#include "shell/qt/CPlaybackBar.h"
#include "station/PlaybackBarUi.h"

#include "controls/qt/CSpinButton.h"
#include "shell/ControlIds.h"
#include "shell/FrameRules.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QWheelEvent>

#include <functional>

namespace velmaris {

namespace {

// The position slider as the operator handles it: from a press to its
// release, on the thumb (a drag) or on the track (a page step that repeats
// while the button is down, or a jump, as the style has it), the slider is
// held and playback leaves it alone; the release seeks once, to wherever
// the thumb went. QSlider's own pressed/released signals cover the thumb
// only, so a click on the track would move the thumb without a seek and the
// next playback tick would put it back.
class CPositionSlider final : public QSlider {
public:
    CPositionSlider(QWidget* parent, std::function<void()> pressed, std::function<void()> released)
        : QSlider(Qt::Horizontal, parent)
        , pressed_(std::move(pressed))
        , released_(std::move(released))
    { }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        QSlider::mousePressEvent(event);
        // Held when the press took the thumb or started stepping; a press
        // beside the groove takes nothing.
        if (!held_ && (isSliderDown() || repeatAction() != SliderNoAction)) {
            held_ = true;
            pressed_();
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QSlider::mouseReleaseEvent(event);
        if (held_ && event->buttons() == Qt::NoButton) {
            held_ = false;
            released_();
        }
    }
    // Hidden while held (the playback ended): no release will come.
    void hideEvent(QHideEvent* event) override
    {
        held_ = false;
        QSlider::hideEvent(event);
    }
    // The wheel would move the thumb with no release to seek on.
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }

private:
    std::function<void()> pressed_;
    std::function<void()> released_;
    bool held_ = false;
};

} // namespace

CPlaybackBar::CPlaybackBar(QWidget* parent)
    : QWidget(parent)
    , slider_(new CPositionSlider(
          this, [this] { emit positionPressed(); }, [this] { emit positionReleased(); }))
    , progress_(new QProgressBar(this))
    , spin_(new CSpinButton(this))
{
    setObjectName(QStringLiteral("playbackBarFields"));
    auto* fileLabel = new QLabel(QStringLiteral("File Pos:"), this);
    fileLabel->setObjectName(QStringLiteral("playbackFilePosLabel"));
    auto* speedLabel = new QLabel(QStringLiteral("Speed"), this);
    speedLabel->setObjectName(QStringLiteral("playbackSpeedLabel"));

    slider_->setObjectName(QStringLiteral("playbackPositionSlider"));
    slider_->setProperty("controlId", ctl::kPlaybackPositionSlider);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setFixedWidth(280);
    // Arrow keys belong to the hot keys, and release gives the focus back.
    slider_->setFocusPolicy(Qt::NoFocus);
    SetPositionRange(kPositionSliderMin, kPositionSliderMax);
    SetTickInterval(kPositionSliderTicks);

    progress_->setObjectName(QStringLiteral("playbackSpeedIndicator"));
    progress_->setProperty("controlId", ctl::kPlaybackSpeedProgress);
    progress_->setTextVisible(false);
    progress_->setFixedWidth(90);
    progress_->setMaximumHeight(14);

    spin_->setObjectName(QStringLiteral("playbackSpeedSpin"));
    spin_->setProperty("controlId", ctl::kPlaybackSpeedSpin);
    SetSpeedRange(kPlaybackSpeedMin, kPlaybackSpeedMax);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 1, 4, 1);
    layout->setSpacing(6);
    layout->addWidget(fileLabel);
    layout->addWidget(slider_);
    layout->addWidget(progress_);
    layout->addWidget(spin_);
    layout->addWidget(speedLabel);
    layout->addStretch(1);

    connect(spin_, &CSpinButton::stepped, this, &CPlaybackBar::speedDelta);
}

void CPlaybackBar::SetPositionRange(int lower, int upper)
{
    const QSignalBlocker block(slider_);
    slider_->setRange(lower, upper);
}

void CPlaybackBar::SetTickInterval(int interval)
{
    slider_->setTickInterval(interval);
}

void CPlaybackBar::SetPosition(int position)
{
    const QSignalBlocker block(slider_);
    slider_->setValue(position);
}

int CPlaybackBar::Position() const
{
    return slider_->value();
}
int CPlaybackBar::PositionMinimum() const
{
    return slider_->minimum();
}
int CPlaybackBar::PositionMaximum() const
{
    return slider_->maximum();
}

void CPlaybackBar::SetSpeedRange(int lower, int upper)
{
    progress_->setRange(lower, upper);
    spin_->setRange(lower, upper);
}

void CPlaybackBar::SetSpeed(int speed)
{
    spin_->setPosition(speed);
    progress_->setValue(spin_->position());
}

} // namespace velmaris
