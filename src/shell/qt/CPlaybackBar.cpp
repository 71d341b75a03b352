#include "shell/qt/CPlaybackBar.h"
#include "station/PlaybackBarUi.h"

#include "controls/qt/CSpinButton.h"
#include "shell/ControlIds.h"
#include "shell/FrameRules.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>

namespace velmaris {

CPlaybackBar::CPlaybackBar(QWidget* parent)
    : QWidget(parent)
    , slider_(new QSlider(Qt::Horizontal, this))
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

    connect(slider_, &QSlider::sliderPressed, this, &CPlaybackBar::positionPressed);
    connect(slider_, &QSlider::sliderReleased, this, &CPlaybackBar::positionReleased);
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
