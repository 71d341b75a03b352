#include "app/CPlaybackBar.h"

#include "dialogs/CSpinButton.h"
#include "document/ControlIds.h"
#include "document/FrameRules.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>

namespace velmaris {

CPlaybackBar::CPlaybackBar(QWidget* parent)
    : QWidget(parent)
    , m_slider(new QSlider(Qt::Horizontal, this))
    , m_progress(new QProgressBar(this))
    , m_spin(new CSpinButton(this))
{
    setObjectName(QStringLiteral("playbackBarFields"));
    auto* fileLabel = new QLabel(QStringLiteral("File Pos:"), this);
    fileLabel->setObjectName(QStringLiteral("playbackFilePosLabel"));
    auto* speedLabel = new QLabel(QStringLiteral("Speed"), this);
    speedLabel->setObjectName(QStringLiteral("playbackSpeedLabel"));

    m_slider->setObjectName(QStringLiteral("playbackPositionSlider"));
    m_slider->setProperty("controlId", ctl::kPlaybackPositionSlider);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setFixedWidth(280);
    // Arrow keys belong to the hot keys, and release gives the focus back.
    m_slider->setFocusPolicy(Qt::NoFocus);
    SetPositionRange(kPositionSliderMin, kPositionSliderMax);
    SetTickInterval(kPositionSliderTicks);

    m_progress->setObjectName(QStringLiteral("playbackSpeedIndicator"));
    m_progress->setProperty("controlId", ctl::kPlaybackSpeedProgress);
    m_progress->setTextVisible(false);
    m_progress->setFixedWidth(90);
    m_progress->setMaximumHeight(14);

    m_spin->setObjectName(QStringLiteral("playbackSpeedSpin"));
    m_spin->setProperty("controlId", ctl::kPlaybackSpeedSpin);
    SetSpeedRange(kPlaybackSpeedMin, kPlaybackSpeedMax);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 1, 4, 1);
    layout->setSpacing(6);
    layout->addWidget(fileLabel);
    layout->addWidget(m_slider);
    layout->addWidget(m_progress);
    layout->addWidget(m_spin);
    layout->addWidget(speedLabel);
    layout->addStretch(1);

    connect(m_slider, &QSlider::sliderPressed, this, &CPlaybackBar::positionPressed);
    connect(m_slider, &QSlider::sliderReleased, this, &CPlaybackBar::positionReleased);
    connect(m_spin, &CSpinButton::stepped, this, &CPlaybackBar::speedDelta);
}

void CPlaybackBar::SetPositionRange(int lower, int upper)
{
    const QSignalBlocker block(m_slider);
    m_slider->setRange(lower, upper);
}

void CPlaybackBar::SetTickInterval(int interval)
{
    m_slider->setTickInterval(interval);
}

void CPlaybackBar::SetPosition(int position)
{
    const QSignalBlocker block(m_slider);
    m_slider->setValue(position);
}

int CPlaybackBar::Position() const
{
    return m_slider->value();
}
int CPlaybackBar::PositionMinimum() const
{
    return m_slider->minimum();
}
int CPlaybackBar::PositionMaximum() const
{
    return m_slider->maximum();
}

void CPlaybackBar::SetSpeedRange(int lower, int upper)
{
    m_progress->setRange(lower, upper);
    m_spin->setRange(lower, upper);
}

void CPlaybackBar::SetSpeed(int speed)
{
    m_spin->setPosition(speed);
    m_progress->setValue(m_spin->position());
}

} // namespace velmaris
