#include "app/CUpDown.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace velmaris {

namespace {

QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(16, 11);
    return button;
}

} // namespace

CUpDown::CUpDown(QWidget* parent)
    : QWidget(parent)
    , m_up(MakeArrow(Qt::UpArrow, this))
    , m_down(MakeArrow(Qt::DownArrow, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    setFocusPolicy(Qt::NoFocus);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
    connect(m_up, &QToolButton::released, this, &CUpDown::released);
    connect(m_down, &QToolButton::released, this, &CUpDown::released);
}

void CUpDown::SetRange(int lower, int upper)
{
    m_lower = lower;
    m_upper = upper;
    SetPosition(m_position);
}

void CUpDown::SetPosition(int position)
{
    m_position = std::clamp(position, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
}

void CUpDown::Step(int delta)
{
    SetPosition(m_position + delta);
    emit deltaPosition(delta);
}

} // namespace velmaris
