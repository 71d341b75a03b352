#include "links/qt/SerialHeadLink.h"

#include "support/LinkTestSupport.h"
#include "support/PtyPeer.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <numeric>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace velmaris {
namespace {

using test::DrainEvents;
using test::RecordingEvents;
using test::WaitUntil;

constexpr int kPtyPort = 7;
constexpr int kMissingPort = 30;
constexpr int kBaud = 115200;

// The head's side of a pseudo-terminal; the link opens the other side.
using PtyHead = test::PtyPeer;

std::array<std::uint8_t, kCommandSize> Command(std::uint8_t first)
{
    std::array<std::uint8_t, kCommandSize> command {};
    std::iota(command.begin(), command.end(), first);
    return command;
}

std::vector<std::uint8_t> Reply(std::size_t size)
{
    std::vector<std::uint8_t> reply(size);
    for (std::size_t i = 0; i < size; ++i)
        reply[i] = static_cast<std::uint8_t>(i * 7 + 1);
    return reply;
}

std::vector<std::uint8_t> Bytes(const std::array<std::uint8_t, kCommandSize>& command)
{
    return {command.begin(), command.end()};
}

std::vector<std::uint8_t> Bytes(
    const std::array<std::uint8_t, kCommandSize>& first, const std::array<std::uint8_t, kCommandSize>& second)
{
    std::vector<std::uint8_t> both = Bytes(first);
    both.insert(both.end(), second.begin(), second.end());
    return both;
}

class SerialHeadLinkTest : public ::testing::Test {
protected:
    SerialHeadLinkTest()
    {
        ComPortMap ports;
        ports.SetDevice(kPtyPort, head.Path());
        ports.SetDevice(kMissingPort, "/dev/velmaris-no-such-device");
        link.SetComPortMap(ports);
    }

    bool WaitForTransfers(std::size_t count)
    {
        return WaitUntil([&] { return events.transfers.size() >= count; });
    }

    PtyHead head;
    RecordingEvents events;
    SerialHeadLink link {ComPortMap(), &events};
};

TEST_F(SerialHeadLinkTest, FirstTransferSendsTheCommandWithoutAReply)
{
    ASSERT_FALSE(head.Path().empty());
    ASSERT_EQ(link.Open(kPtyPort, kBaud, false), SerialOpenResult::Ok);
    EXPECT_EQ(link.HeldComPort(), kPtyPort) << "the port dialog lists it as held";
    const auto command = Command(0x10);
    link.RequestTransfer(command);
    ASSERT_TRUE(WaitForTransfers(1));
    EXPECT_TRUE(events.transfers[0].portOpen);
    EXPECT_TRUE(events.transfers[0].reply.empty());
    EXPECT_EQ(head.Received(), Bytes(command)) << "exactly the 27 command bytes";
    EXPECT_EQ(events.transfers[0].sent, Bytes(command)) << "the hand-over names the command written";
}

TEST_F(SerialHeadLinkTest, ReplyOf265BytesArrivesWhole)
{
    ASSERT_EQ(link.Open(kPtyPort, kBaud, false), SerialOpenResult::Ok);
    const auto reply = Reply(265);
    head.Send(reply);
    link.RequestTransfer(Command(0x20));
    ASSERT_TRUE(WaitForTransfers(1));
    EXPECT_EQ(events.transfers[0].reply, reply);
    EXPECT_EQ(head.Received().size(), kCommandSize);
}

TEST_F(SerialHeadLinkTest, ShortReplyIsDeliveredAsItCame)
{
    ASSERT_EQ(link.Open(kPtyPort, kBaud, false), SerialOpenResult::Ok);
    head.Send(Reply(264));
    link.RequestTransfer(Command(0x20));
    ASSERT_TRUE(WaitForTransfers(1));
    EXPECT_EQ(events.transfers[0].reply, Reply(264));
}

TEST_F(SerialHeadLinkTest, ReplyArrivingInPiecesDuringTheReadIsCollected)
{
    ASSERT_EQ(link.Open(kPtyPort, kBaud, false), SerialOpenResult::Ok);
    const auto reply = Reply(513);
    head.Send({reply.begin(), reply.begin() + 200});
    link.RequestTransfer(Command(0x20));
    // Well inside the 563 ms read time-out.
    QTimer::singleShot(150, [&] { head.Send({reply.begin() + 200, reply.end()}); });
    ASSERT_TRUE(WaitForTransfers(1));
    EXPECT_EQ(events.transfers[0].reply, reply);
}

TEST_F(SerialHeadLinkTest, ReadStopsAt513AndTheRestIsPurged)
{
    ASSERT_EQ(link.Open(kPtyPort, kBaud, false), SerialOpenResult::Ok);
    const auto flood = Reply(600);
    head.Send(flood);
    QElapsedTimer clock;
    clock.start();
    link.RequestTransfer(Command(0x20));
    ASSERT_TRUE(WaitForTransfers(1));
    EXPECT_LT(clock.elapsed(), 540) << "a full buffer ends the read before the 563 ms time-out";
    EXPECT_EQ(events.transfers[0].reply, std::vector<std::uint8_t>(flood.begin(), flood.begin() + 513));

    link.RequestTransfer(Command(0x40));
    ASSERT_TRUE(WaitForTransfers(2));
    EXPECT_TRUE(events.transfers[1].reply.empty()) << "the 87 extra bytes were purged";
    EXPECT_EQ(head.Received(), Bytes(Command(0x20), Command(0x40)));
}

TEST_F(SerialHeadLinkTest, RtsModeStillWritesExactlyTheCommand)
{
    ASSERT_EQ(link.Open(kPtyPort, kBaud, true), SerialOpenResult::Ok);
    head.Send(Reply(265));
    link.RequestTransfer(Command(0x30));
    ASSERT_TRUE(WaitForTransfers(1));
    EXPECT_EQ(events.transfers[0].reply.size(), 265u);
    EXPECT_EQ(head.Received(), Bytes(Command(0x30)));
}

TEST_F(SerialHeadLinkTest, SuspendedTransferDoesNothing)
{
    ASSERT_EQ(link.Open(kPtyPort, kBaud, false), SerialOpenResult::Ok);
    link.SetSuspended(true);
    link.RequestTransfer(Command(0x50));
    // Reopening waits for the worker, so the suspended transfer is done.
    ASSERT_EQ(link.Open(kPtyPort, kBaud, false), SerialOpenResult::Ok);
    DrainEvents();
    EXPECT_TRUE(events.transfers.empty());
    EXPECT_TRUE(head.Received().empty());

    link.RequestTransfer(Command(0x60)); // the reopening lifted the suspension
    ASSERT_TRUE(WaitForTransfers(1));
    EXPECT_EQ(head.Received(), Bytes(Command(0x60)));
}

TEST_F(SerialHeadLinkTest, MissingOrUnmappedDeviceIsNotAvailable)
{
    EXPECT_EQ(link.Open(kMissingPort, kBaud, false), SerialOpenResult::NotAvailable);
    EXPECT_EQ(link.Open(40, kBaud, false), SerialOpenResult::NotAvailable);
    EXPECT_EQ(link.Open(kPtyPort, 0, false), SerialOpenResult::SetupFailed);
    EXPECT_EQ(link.HeldComPort(), 0);

    link.RequestTransfer(Command(0x70));
    ASSERT_TRUE(WaitForTransfers(1));
    EXPECT_FALSE(events.transfers[0].portOpen);
    EXPECT_TRUE(events.transfers[0].reply.empty());
}

TEST_F(SerialHeadLinkTest, ClosedPortAnswersWithoutWriting)
{
    ASSERT_EQ(link.Open(kPtyPort, kBaud, false), SerialOpenResult::Ok);
    link.Close();
    link.RequestTransfer(Command(0x70));
    ASSERT_TRUE(WaitForTransfers(1));
    EXPECT_FALSE(events.transfers[0].portOpen);
    EXPECT_TRUE(head.Received().empty());
    EXPECT_TRUE(events.transfers[0].sent.empty());
}

TEST_F(SerialHeadLinkTest, QuitCutsAReadShort)
{
    ASSERT_EQ(link.Open(kPtyPort, kBaud, false), SerialOpenResult::Ok);
    link.RequestTransfer(Command(0x10)); // the head is silent: a 563 ms read
    WaitUntil([] { return false; }, 50); // the worker is inside the read now
    QElapsedTimer clock;
    clock.start();
    link.Quit();
    EXPECT_LT(clock.elapsed(), 450); // well before the 563 ms read would end by itself
    DrainEvents();
    EXPECT_TRUE(events.transfers.empty());
}

TEST_F(SerialHeadLinkTest, QuitWhileTheWorkerWaitsToHandOverDoesNotDeadlock)
{
    ASSERT_EQ(link.Open(kPtyPort, kBaud, false), SerialOpenResult::Ok);
    head.Send(Reply(513)); // a full reply: no read time-out
    link.RequestTransfer(Command(0x10));
    // Block this thread until the command is out; the worker then waits for
    // a hand-over this thread is not serving.
    ASSERT_EQ(head.Received(kCommandSize, 2000).size(), kCommandSize);
    ::usleep(20'000); // no signal tells that the hand-over is posted; it is, well before this
    link.Quit();
    DrainEvents();
    EXPECT_TRUE(events.transfers.empty()) << "a hand-over posted while quitting is abandoned";

    // A new worker starts on demand and works as before.
    ASSERT_EQ(link.Open(kPtyPort, kBaud, false), SerialOpenResult::Ok);
    link.RequestTransfer(Command(0x30));
    ASSERT_TRUE(WaitForTransfers(1));
    EXPECT_EQ(head.Received(), Bytes(Command(0x30)));
}

} // namespace
} // namespace velmaris
