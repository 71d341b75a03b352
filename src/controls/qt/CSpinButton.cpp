#include "controls/qt/CSpinButton.h"

#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace velmaris {

namespace {

QToolButton* ArrowButton(Qt::ArrowType arrow, const char* name, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    // Half a line high each, so the pair matches the value field beside it.
    const int extent = parent->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, parent);
    button->setFixedWidth(extent + 2);
    button->setIconSize(QSize(extent / 2, extent / 2));
    return button;
}

} // namespace

CSpinButton::CSpinButton(QWidget* parent)
    : QWidget(parent)
    , up_(ArrowButton(Qt::UpArrow, "up", this))
    , down_(ArrowButton(Qt::DownArrow, "down", this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);

    connect(up_, &QToolButton::pressed, this, [this] { Press(+1); });
    connect(down_, &QToolButton::pressed, this, [this] { Press(-1); });
    connect(up_, &QToolButton::released, this, &CSpinButton::Release);
    connect(down_, &QToolButton::released, this, &CSpinButton::Release);
    connect(&repeat_, &QTimer::timeout, this, [this] {
        repeat_.setInterval(style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatRate, nullptr, this));
        Step();
    });
}

void CSpinButton::setRange(int lower, int upper)
{
    lower_ = std::min(lower, upper);
    upper_ = std::max(lower, upper);
    position_ = std::clamp(position_, lower_, upper_);
}

void CSpinButton::setPosition(int position)
{
    position_ = std::clamp(position, lower_, upper_);
}

void CSpinButton::Press(int delta)
{
    delta_ = delta;
    repeat_.setInterval(style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatThreshold, nullptr, this));
    repeat_.start();
    Step();
}

void CSpinButton::Release()
{
    repeat_.stop();
    emit released();
}

void CSpinButton::Step()
{
    position_ = std::clamp(position_ + delta_, lower_, upper_);
    emit stepped(delta_);
}

} // namespace velmaris
