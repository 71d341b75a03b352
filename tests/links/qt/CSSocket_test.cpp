#include "links/qt/CSSocket.h"

#include "support/LinkTestSupport.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <gtest/gtest.h>

namespace velmaris {
namespace {

using test::DrainEvents;
using test::RecordingEvents;
using test::WaitUntil;

// A loopback head: accepts one connection on a free port.
class LoopbackHead {
public:
    LoopbackHead() { server.listen(QHostAddress::LocalHost, 0); }
    int Port() const { return server.serverPort(); }
    QTcpSocket* Accept()
    {
        if (!WaitUntil([&] { return server.hasPendingConnections(); }))
            return nullptr;
        return server.nextPendingConnection();
    }
    QTcpServer server;
};

std::vector<std::uint8_t> Reply513()
{
    std::vector<std::uint8_t> reply(513);
    for (std::size_t i = 0; i < reply.size(); ++i)
        reply[i] = static_cast<std::uint8_t>(i ^ 0x5A);
    return reply;
}

QByteArray ToBytes(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t to)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data() + from), static_cast<qsizetype>(to - from));
}

class CSSocketTest : public ::testing::Test {
protected:
    // Connects the link to the head; returns the head's end.
    QTcpSocket* ConnectToHead()
    {
        if (!socket.Connect("127.0.0.1", head.Port()))
            return nullptr;
        QTcpSocket* peer = head.Accept();
        if (!WaitUntil([&] { return !events.connects.empty(); }) || !events.connects[0])
            return nullptr;
        return peer;
    }

    LoopbackHead head;
    RecordingEvents events;
    CSSocket socket {&events};
};

TEST_F(CSSocketTest, ConnectReportsSuccessAndSendsTheCommand)
{
    QTcpSocket* peer = ConnectToHead();
    ASSERT_NE(peer, nullptr);
    EXPECT_EQ(events.connects, (std::vector<bool> {true}));
    EXPECT_TRUE(socket.IsConnected());

    const std::vector<std::uint8_t> command(kCommandSize, 0xFE);
    ASSERT_TRUE(socket.Send(command));
    ASSERT_TRUE(WaitUntil([&] { return peer->bytesAvailable() >= static_cast<qint64>(kCommandSize); }));
    EXPECT_EQ(peer->readAll(), ToBytes(command, 0, command.size()));
}

TEST_F(CSSocketTest, RefusedConnectIsReported)
{
    const int port = head.Port();
    head.server.close(); // nothing listens there now
    // The connect is non-blocking even on loopback: the refusal comes later.
    ASSERT_TRUE(socket.Connect("127.0.0.1", port));
    ASSERT_TRUE(WaitUntil([&] { return !events.connects.empty(); }));
    DrainEvents();
    EXPECT_EQ(events.connects, (std::vector<bool> {false}));
    EXPECT_FALSE(socket.IsConnected());
    EXPECT_FALSE(socket.Send(std::vector<std::uint8_t>(kCommandSize)));
}

// SettleConnect() reports an outcome that comes in time from inside the
// call; one that does not goes on as usual and is reported once, later.
TEST_F(CSSocketTest, SettledConnectIsReportedFromInside)
{
    ASSERT_TRUE(socket.Connect("127.0.0.1", head.Port()));
    socket.SettleConnect(2000);
    EXPECT_EQ(events.connects, (std::vector<bool> {true})) << "before any pass of the event loop";
    EXPECT_TRUE(socket.Send(std::vector<std::uint8_t>(kCommandSize)));

    LoopbackHead refusing;
    const int closed = refusing.Port();
    refusing.server.close();
    ASSERT_TRUE(socket.Connect("127.0.0.1", closed));
    socket.SettleConnect(2000);
    EXPECT_EQ(events.connects, (std::vector<bool> {true, false}));

    LoopbackHead later;
    ASSERT_TRUE(socket.Connect("127.0.0.1", later.Port()));
    socket.SettleConnect(0); // no time: the connect is (most likely) still under way
    ASSERT_TRUE(WaitUntil([&] { return events.connects.size() == 3; }));
    DrainEvents();
    EXPECT_EQ(events.connects, (std::vector<bool> {true, false, true}));
    EXPECT_TRUE(socket.Send(std::vector<std::uint8_t>(kCommandSize)));
}

TEST_F(CSSocketTest, NamesAndBadPortsFailAtOnce)
{
    EXPECT_FALSE(socket.Connect("sonar-head.invalid", head.Port()));
    EXPECT_FALSE(socket.Connect("127.0.0.1", 0));
    EXPECT_FALSE(socket.Connect("127.0.0.1", 70000));
    DrainEvents();
    EXPECT_TRUE(events.connects.empty());
}

TEST_F(CSSocketTest, ReplyInTwoSegmentsArrivesWhole)
{
    QTcpSocket* peer = ConnectToHead();
    ASSERT_NE(peer, nullptr);
    const auto reply = Reply513();
    peer->write(ToBytes(reply, 0, 265));
    peer->flush();
    ASSERT_TRUE(WaitUntil([&] { return events.TcpByteCount() >= 265; }));
    peer->write(ToBytes(reply, 265, 513));
    ASSERT_TRUE(WaitUntil([&] { return events.TcpByteCount() >= 513; }));

    EXPECT_GE(events.tcpChunks.size(), 2u);
    std::vector<std::uint8_t> joined;
    for (const auto& chunk : events.tcpChunks)
        joined.insert(joined.end(), chunk.begin(), chunk.end());
    EXPECT_EQ(joined, reply);
}

TEST_F(CSSocketTest, CloseByTheHeadIsReportedOnce)
{
    QTcpSocket* peer = ConnectToHead();
    ASSERT_NE(peer, nullptr);
    peer->write("tail");
    peer->flush();
    peer->close();
    ASSERT_TRUE(WaitUntil([&] { return events.closes > 0; }));
    EXPECT_EQ(events.TcpByteCount(), 4u) << "bytes sent before the close still arrive";
    DrainEvents();
    EXPECT_EQ(events.closes, 1);
    EXPECT_FALSE(socket.IsConnected());
}

TEST_F(CSSocketTest, OwnCloseAndReconnectGiveNoCloseNotification)
{
    QTcpSocket* first = ConnectToHead();
    ASSERT_NE(first, nullptr);
    // Connecting again drops the first connection without a close report.
    ASSERT_TRUE(socket.Connect("127.0.0.1", head.Port()));
    QTcpSocket* second = head.Accept();
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return events.connects.size() == 2; }));
    EXPECT_EQ(events.connects, (std::vector<bool> {true, true}));

    socket.Close();
    ASSERT_TRUE(WaitUntil([&] { return second->state() == QAbstractSocket::UnconnectedState; }));
    DrainEvents();
    EXPECT_EQ(events.closes, 0);
}

} // namespace
} // namespace velmaris
