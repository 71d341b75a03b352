#pragma once
// The main frame's timers on QTimer: one single-shot timer per id, created on
// first use. Expiries arrive as LinkEvents::OnTimer(id).
//
// Thread: user-interface thread only (the timers live there).

#include "links/Links.h"

#include <QObject>
#include <map>

class QTimer;

namespace velmaris {

class QtTimerHost final : public QObject, public TimerHost {
public:
    // `events` may be set later (the ping cycle usually needs the timer host
    // first); expiries while it is null are dropped.
    explicit QtTimerHost(LinkEvents* events = nullptr, QObject* parent = nullptr);
    void SetEvents(LinkEvents* events) { events_ = events; }

    // Re-arming restarts the time from now; a negative time counts as 0.
    void SetTimer(int id, int ms) override;
    void KillTimer(int id) override;
    bool IsActive(int id) const;
    // Fires now, in the order of their ids, the timers armed for 0 ms that
    // have not fired yet: what the next pass of the event loop would do,
    // without the repaints queued ahead of it.
    void FireDue();

private:
    LinkEvents* events_;
    std::map<int, QTimer*> timers_; // owned as QObject children
};

} // namespace velmaris
