#include "links/qt/QtTimerHost.h"

#include "support/LinkTestSupport.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace velmaris {
namespace {

using test::RecordingEvents;
using test::WaitUntil;

TEST(QtTimerHost, TimerFiresOnceWithItsId)
{
    RecordingEvents events;
    QtTimerHost host(&events);
    QElapsedTimer clock;
    clock.start();
    host.SetTimer(kPingTimer, 30);
    host.SetTimer(kWatchdogTimer, 120); // marks the end of the observation
    ASSERT_TRUE(WaitUntil([&] { return events.timers.size() == 2; }));
    EXPECT_EQ(events.timers, (std::vector<int> {kPingTimer, kWatchdogTimer}));
    EXPECT_GE(clock.elapsed(), 120);
    EXPECT_FALSE(host.IsActive(kPingTimer)) << "one-shot: no second expiry";
}

TEST(QtTimerHost, SetTimerRearmsFromNow)
{
    RecordingEvents events;
    QtTimerHost host(&events);
    host.SetTimer(kSendTimer, 20);
    host.SetTimer(kPingTimer, 60);
    host.SetTimer(kSendTimer, 100); // replaces the 20 ms expiry
    ASSERT_TRUE(WaitUntil([&] { return events.timers.size() == 2; }));
    EXPECT_EQ(events.timers, (std::vector<int> {kPingTimer, kSendTimer}));

    host.SetTimer(kSendTimer, 0); // re-arming after an expiry fires again
    ASSERT_TRUE(WaitUntil([&] { return events.timers.size() == 3; }));
    EXPECT_EQ(events.timers.back(), kSendTimer);
}

TEST(QtTimerHost, KillTimerStopsTheExpiry)
{
    RecordingEvents events;
    QtTimerHost host(&events);
    host.KillTimer(kGpsTimer); // never armed: nothing happens
    host.SetTimer(kGpsTimer, 10);
    host.SetTimer(kWatchdogTimer, 60);
    host.KillTimer(kGpsTimer);
    EXPECT_FALSE(host.IsActive(kGpsTimer));
    ASSERT_TRUE(WaitUntil([&] { return !events.timers.empty(); }));
    EXPECT_EQ(events.timers, (std::vector<int> {kWatchdogTimer}));
}

// FireDue() delivers now what is armed for 0 ms, once, and leaves later
// expiries alone.
TEST(QtTimerHost, FireDueDeliversTheZeroTimersNow)
{
    RecordingEvents events;
    QtTimerHost host(&events);
    host.SetTimer(kWatchdogTimer, 0);
    host.SetTimer(kSendTimer, 0);
    host.SetTimer(kPingTimer, 50);
    host.SetTimer(kGpsTimer, 0);
    host.KillTimer(kGpsTimer);
    host.FireDue();
    EXPECT_EQ(events.timers, (std::vector<int> {kWatchdogTimer, kSendTimer}));
    EXPECT_FALSE(host.IsActive(kSendTimer));
    EXPECT_TRUE(host.IsActive(kPingTimer));
    ASSERT_TRUE(WaitUntil([&] { return events.timers.size() == 3; }));
    EXPECT_EQ(events.timers.back(), kPingTimer) << "nothing fired twice";
}

} // namespace
} // namespace velmaris
