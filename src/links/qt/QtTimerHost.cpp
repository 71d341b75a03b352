#include "links/qt/QtTimerHost.h"

#include <QTimer>

#include <vector>

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

void QtTimerHost::FireDue()
{
    std::vector<int> due;
    for (const auto& [id, timer] : timers_)
        if (timer->isActive() && timer->interval() == 0)
            due.push_back(id);
    for (const int id : due) {
        const auto found = timers_.find(id);
        // An earlier expiry's handler may have killed or re-armed it.
        if (found == timers_.end() || !found->second->isActive() || found->second->interval() != 0)
            continue;
        found->second->stop();
        if (events_ != nullptr)
            events_->OnTimer(id);
    }
}

bool QtTimerHost::IsActive(int id) const
{
    const auto found = timers_.find(id);
    return found != timers_.end() && found->second->isActive();
}

} // namespace velmaris
