// A K52L head that accepts the connection and then never answers, on
// loopback, with the cycle's timers fired by the test: the connection is
// given up after five silent seconds and made again.

#include "links/qt/CSSocket.h"
#include "station/PingCycle.h"
#include "support/CycleRig.h"
#include "support/LinkTestSupport.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace velmaris {
namespace {

using test::WaitUntil;
using namespace velmaris::testing;

class SilentHeadTest : public ::testing::Test {
protected:
    SilentHeadTest()
    {
        server.listen(QHostAddress::LocalHost, 0);
        fakes.timers.events = &cycle;
        cycle.SetLocalTimeSource(&FixedLocalTime);
        cycle.SetSettingsReloader(&reloader);
        cycle.Configure(CycleConfig {server.serverPort(), 0});
        SonarSettings settings;
        CommandMessage command;
        InitialiseCommandMessage(command, settings);
        settings.sonarType = SonarType::EthernetK52L;
        settings.ipAddress = "127.0.0.1";
        EXPECT_TRUE(SaveSettingsFile(folder / "Velmaris.INI", settings, command, SettingsFileContext {}));
        socket.SetEvents(&cycle);
    }
    ~SilentHeadTest() override
    {
        cycle.Shutdown();
        socket.SetEvents(nullptr);
    }

    // The head's end of the next connection, once the cycle has sent on it.
    QTcpSocket* Accept()
    {
        if (!WaitUntil([&] { return server.hasPendingConnections(); }))
            return nullptr;
        QTcpSocket* peer = server.nextPendingConnection();
        if (!WaitUntil([&] { return cycle.Acquisition().linkState == LinkState::Up; }))
            return nullptr;
        fakes.timers.Fire(kSendTimer);
        return WaitUntil([&] { return peer->bytesAvailable() >= static_cast<qint64>(kCommandSize); })
            ? peer
            : nullptr;
    }

    // One watchdog period passes; true when the head's end of the
    // connection is still open afterwards.
    bool SilentSecondLeavesTheConnection(QTcpSocket* peer)
    {
        EXPECT_TRUE(fakes.timers.Fire(kWatchdogTimer));
        return !WaitUntil([&] { return peer->state() != QAbstractSocket::ConnectedState; }, 50);
    }

    QTcpServer server;
    StationFakes fakes;
    ScratchFolder folder {"silent"};
    std::unique_ptr<SonarState> owned = std::make_unique<SonarState>();
    SonarState& state = *owned;
    RecordWriter recorder {fakes.reporter};
    DataFile playbackFile;
    CSSocket socket;
    PingCycle cycle {state, CycleLinks {fakes.timers, fakes.serial, socket, fakes.udp}, fakes.clock,
        fakes.reporter, fakes.ui, recorder, playbackFile};
    FileSettingsReloader reloader {state, folder / "Velmaris.INI"};
};

TEST_F(SilentHeadTest, ConnectionIsMadeAgainAfterFiveSilentSecondsAndAReplyRestartsTheCount)
{
    cycle.StartRealTime();
    QTcpSocket* peer = Accept();
    ASSERT_NE(peer, nullptr);

    // Four silent seconds, then one reply: the head is alive.
    for (int second = 1; second <= 4; ++second)
        ASSERT_TRUE(SilentSecondLeavesTheConnection(peer)) << second;
    const auto reply = MakeReply('G');
    peer->write(reinterpret_cast<const char*>(reply.data()), static_cast<qint64>(reply.size()));
    ASSERT_TRUE(WaitUntil([&] { return state.ping.pingCount == 1; }));
    ASSERT_TRUE(fakes.timers.Fire(kSendTimer));

    // Then five silent seconds: the connection is closed and made again.
    for (int second = 1; second <= 4; ++second)
        ASSERT_TRUE(SilentSecondLeavesTheConnection(peer)) << second;
    EXPECT_FALSE(SilentSecondLeavesTheConnection(peer));
    QTcpSocket* again = Accept();
    ASSERT_NE(again, nullptr) << "no new connection";
    EXPECT_TRUE(fakes.reporter.messages.empty());
}

} // namespace
} // namespace velmaris
