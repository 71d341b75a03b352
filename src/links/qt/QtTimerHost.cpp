#include "links/qt/QtTimerHost.h"

#include <QTimer>

namespace velmaris {

QtTimerHost::QtTimerHost(LinkEvents* events, QObject* parent)
    : QObject(parent)
    , events_(events)
{ }

void QtTimerHost::SetTimer(int id, int ms)
{
    QTimer*& timer = timers_[id];
    if (timer == nullptr) {
        timer = new QTimer(this);
        timer->setSingleShot(true);
        // Ping periods count to the millisecond; a coarse timer may be 5% late.
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, id] {
            if (events_ != nullptr)
                events_->OnTimer(id);
        });
    }
    timer->start(ms < 0 ? 0 : ms);
}

void QtTimerHost::KillTimer(int id)
{
    const auto found = timers_.find(id);
    if (found != timers_.end())
        found->second->stop();
}

bool QtTimerHost::IsActive(int id) const
{
    const auto found = timers_.find(id);
    return found != timers_.end() && found->second->isActive();
}

} // namespace velmaris
