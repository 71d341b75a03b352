// The ping cycle driven end to end by the real links and timers against the
// simulated heads on loopback TCP and a pseudo-terminal.

#include "files/RecordReader.h"
#include "files/SettingsFile.h"
#include "links/qt/CSSocket.h"
#include "links/qt/CUdpSocket.h"
#include "links/qt/QtTimerHost.h"
#include "links/qt/SerialHeadLink.h"
#include "sim/PtyHead.h"
#include "sim/TcpHeadServer.h"
#include "station/PingCycle.h"
#include "support/CycleRig.h"
#include "support/RecordFixture.h"

#include "support/LinkTestSupport.h"
#include "support/PtyPeer.h"

#include <QHostAddress>
#include <QUdpSocket>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace velmaris {
namespace {

using velmaris::test::WaitUntil;
using namespace velmaris::testing;

double NowMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Passes the links' events to the cycle and notes when pings were decoded
// and when the head closed the connection.
class TimedEvents final : public LinkEvents {
public:
    TimedEvents(PingCycle& cycle, const SonarState& state)
        : cycle_(cycle)
        , state_(state)
    { }
    void OnTimer(int id) override { cycle_.OnTimer(id); }
    void OnSerialTransfer(
        std::span<const std::uint8_t> reply, bool portOpen, std::span<const std::uint8_t> sent) override
    {
        const int before = state_.ping.pingCount;
        cycle_.OnSerialTransfer(reply, portOpen, sent);
        if (state_.ping.pingCount > before)
            decoded.push_back(NowMs());
    }
    void OnSerialPortLost() override { cycle_.OnSerialPortLost(); }
    void OnTcpConnected(bool ok) override { cycle_.OnTcpConnected(ok); }
    void OnTcpBytes(std::span<const std::uint8_t> bytes) override
    {
        ++tcpDeliveries;
        const int before = state_.ping.pingCount;
        cycle_.OnTcpBytes(bytes);
        if (state_.ping.pingCount > before)
            decoded.push_back(NowMs());
    }
    void OnTcpClosed() override
    {
        closed.push_back(NowMs());
        cycle_.OnTcpClosed();
    }
    void OnUdpDatagram(std::span<const std::uint8_t> datagram, std::size_t trueSize) override
    {
        cycle_.OnUdpDatagram(datagram, trueSize);
    }
    void OnUdpDropped(std::size_t count) override { cycle_.OnUdpDropped(count); }

    std::vector<double> decoded;
    std::vector<double> closed;
    int tcpDeliveries = 0;

private:
    PingCycle& cycle_;
    const SonarState& state_;
};

// The TCP link with the times of each connect and send.
class TimedTcp final : public TcpLink {
public:
    explicit TimedTcp(TcpLink& link)
        : link_(link)
    { }
    bool Connect(const std::string& host, int port) override
    {
        connects.push_back(NowMs());
        return link_.Connect(host, port);
    }
    bool Send(std::span<const std::uint8_t> bytes) override
    {
        sends.push_back(NowMs());
        return link_.Send(bytes);
    }
    void Close() override { link_.Close(); }

    std::vector<double> connects;
    std::vector<double> sends;

private:
    TcpLink& link_;
};

// The serial link with a count of the transfers requested (each takes its
// copy of the command when it is requested).
class CountingSerial final : public SerialLink {
public:
    explicit CountingSerial(SerialLink& link)
        : link_(link)
    { }
    SerialOpenResult Open(int comPort, int baud, bool rtsMode) override
    {
        return link_.Open(comPort, baud, rtsMode);
    }
    void RequestTransfer(std::span<const std::uint8_t, kCommandSize> command) override
    {
        link_.RequestTransfer(command);
        ++requests;
    }
    void SetSuspended(bool suspended) override { link_.SetSuspended(suspended); }
    void SetRtsMode(bool rtsMode) override { link_.SetRtsMode(rtsMode); }
    void Close() override { link_.Close(); }
    void Quit() override { link_.Quit(); }

    int requests = 0;

private:
    SerialLink& link_;
};

// The timers with a record of every arming.
class RecordingTimers final : public TimerHost {
public:
    explicit RecordingTimers(TimerHost& host)
        : host_(host)
    { }
    void SetTimer(int id, int ms) override
    {
        armed.emplace_back(id, ms);
        host_.SetTimer(id, ms);
    }
    void KillTimer(int id) override { host_.KillTimer(id); }

    std::vector<std::pair<int, int>> armed;

private:
    TimerHost& host_;
};

constexpr int kHeadComPort = 3;

class LiveCycleTest : public ::testing::Test {
protected:
    LiveCycleTest()
    {
        qtTimers.SetEvents(&events);
        serial.SetEvents(&events);
        socket.SetEvents(&events);
        udp.SetEvents(&events);
        cycle.SetLocalTimeSource(&FixedLocalTime);
        cycle.SetSettingsReloader(&reloader);
    }
    ~LiveCycleTest() override
    {
        cycle.Shutdown();
        qtTimers.SetEvents(nullptr);
        serial.SetEvents(nullptr);
        socket.SetEvents(nullptr);
        udp.SetEvents(nullptr);
    }

    void SaveIni(SonarType sonarType)
    {
        SonarSettings settings;
        CommandMessage command;
        InitialiseCommandMessage(command, settings);
        settings.sonarType = sonarType;
        settings.ipAddress = "127.0.0.1";
        settings.sonarComPort = kHeadComPort;
        ASSERT_TRUE(SaveSettingsFile(folder / "Velmaris.INI", settings, command, SettingsFileContext {}));
    }

    // Starts real-time work with the K52L head `head`.
    void StartTcp(sim::TcpHeadServer& head)
    {
        std::string error;
        ASSERT_TRUE(head.Start(&error)) << error;
        SaveIni(SonarType::EthernetK52L);
        cycle.Configure(CycleConfig {head.Port(), 0});
        cycle.StartRealTime();
    }

    bool WaitForPings(int count, int timeoutMs)
    {
        return WaitUntil([&] { return state.ping.pingCount >= count; }, timeoutMs);
    }

    ScratchFolder folder {"live"};
    RecordingReporter reporter;
    RecordingUi ui;
    std::unique_ptr<SonarState> owned = std::make_unique<SonarState>();
    SonarState& state = *owned;
    RecordWriter recorder {reporter};
    DataFile playbackFile;
    QtTimerHost qtTimers;
    RecordingTimers timers {qtTimers};
    SerialHeadLink serial;
    CountingSerial countedSerial {serial};
    CSSocket socket;
    TimedTcp tcp {socket};
    CUdpSocket udp;
    PingCycle cycle {state, CycleLinks {timers, countedSerial, tcp, udp}, SteadyClock::Instance(), reporter,
        ui, recorder, playbackFile};
    TimedEvents events {cycle, state};
    FileSettingsReloader reloader {state, folder / "Velmaris.INI"};
};

// How many of this process's descriptors are open on `device`.
int DescriptorsOpenOn(const std::string& device)
{
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        std::error_code unreadable;
        if (std::filesystem::read_symlink(entry.path(), unreadable).string() == device)
            ++count;
    }
    return count;
}

sim::TcpHeadOptions FastHead(const sim::FaultPlan& faults = {})
{
    sim::TcpHeadOptions options;
    options.address = "127.0.0.1:0";
    options.fast = true;
    options.faults = faults;
    return options;
}

TEST_F(LiveCycleTest, TcpHeadIsPingedAgainAsSoonAsEachReplyIsDecoded)
{
    sim::TcpHeadServer head(FastHead());
    StartTcp(head);
    ASSERT_TRUE(WaitForPings(20, 8000));
    EXPECT_EQ(head.Connections(), 1u);
    EXPECT_EQ(head.Malformed(), 0u);
    EXPECT_TRUE(reporter.messages.empty());
    // Every decoded reply is followed by the next command within a few ms.
    for (double decodedAt : events.decoded) {
        const auto next = std::upper_bound(tcp.sends.begin(), tcp.sends.end(), decodedAt);
        if (next == tcp.sends.end())
            continue; // the last reply's command may still be on its way
        EXPECT_LT(*next - decodedAt, 250.0); // at once, not after the one-second watchdog
    }
}

TEST_F(LiveCycleTest, SplitReplyIsDecodedOnceWhole)
{
    sim::FaultPlan faults;
    faults.splitEvery = 1;
    faults.splitParts = 2;
    faults.splitPauseMs = 20;
    sim::TcpHeadServer head(FastHead(faults));
    StartTcp(head);
    ASSERT_TRUE(WaitForPings(4, 8000));
    EXPECT_GE(events.tcpDeliveries, 2 * state.ping.pingCount) << "every reply came in pieces";
    EXPECT_LE(head.Pings() - static_cast<std::uint64_t>(state.ping.pingCount), 1u)
        << "each whole reply gave exactly one ping";
    EXPECT_EQ(state.ping.replyLength, 513);
}

// Replies that come late, whole or in pieces across the one-second
// watchdog: the late part is never joined with the next reply, so every
// reply the head sent whole is decoded (the last may still be on its way).
struct LateFault {
    const char* name;
    const char* plan;
    int splitEvery; // pings that go in pieces (the reply they carry is lost)
};

class LateReplyTest : public LiveCycleTest, public ::testing::WithParamInterface<LateFault> { };

TEST_P(LateReplyTest, NoWholeReplyIsLost)
{
    std::string error;
    const auto faults = sim::FaultPlan::Parse(GetParam().plan, &error);
    ASSERT_TRUE(faults) << error;
    sim::TcpHeadServer head(FastHead(*faults));
    StartTcp(head);
    const int every = GetParam().splitEvery > 0 ? GetParam().splitEvery : faults->delayEvery;
    // Whole replies the head has sent so far less those decoded: one or two
    // may be on their way (a late reply and the answer to the command sent
    // again), but each one lost would add to it for good.
    const auto undecoded = [&] {
        const auto sent = static_cast<int>(head.Pings());
        const int split = GetParam().splitEvery > 0 ? sent / GetParam().splitEvery : 0;
        return sent - split - state.ping.pingCount;
    };
    // Three late replies, each waited for past the watchdog.
    ASSERT_TRUE(WaitUntil([&] { return head.Pings() >= static_cast<std::uint64_t>(3 * every + 1); }, 12000));
    EXPECT_TRUE(WaitUntil([&] { return undecoded() <= 2; }, 500))
        << undecoded() << " whole replies not decoded, " << state.ping.pingCount << " decoded";
    EXPECT_EQ(head.Connections(), 1u);
}

INSTANTIATE_TEST_SUITE_P(LiveCycle, LateReplyTest,
    ::testing::Values(LateFault {"SplitTwoHalves", "split=3:2:1200", 3},
        LateFault {"SplitThreePieces", "split=3:3:600", 3}, LateFault {"DelayedWhole", "delay=3:1200", 0}),
    [](const ::testing::TestParamInfo<LateFault>& info) { return std::string(info.param.name); });

TEST_F(LiveCycleTest, UdpFloodOfModeChangesLeavesTheEventLoopTurning)
{
    cycle.Configure(CycleConfig {0, 0});
    ASSERT_TRUE(cycle.StartUdpMode());
    PingSpec polar;
    PingSpec sidescan;
    sidescan.mode = DisplayMode::SideScan;
    sidescan.step = kStepNone;
    sidescan.width = 0;
    // Each datagram changes the mode, and so clears the raster. Whether the
    // machine keeps up or drops, the loop turns and nothing is counted twice.
    test::UdpFlood flood(udp.LocalPort(), {MakeRecord(polar, "52L"), MakeRecord(sidescan, "52L")}, 10000);
    EXPECT_LT(test::LongestLoopStallMs(500), 100) << "the event loop was held by the flood";
    flood.Stop();
    WaitUntil([] { return false; }, 100);
    EXPECT_GT(state.ping.pingCount, 0);
    EXPECT_LE(static_cast<std::uint64_t>(state.ping.pingCount) + cycle.Acquisition().droppedDatagrams,
        flood.Sent());
}

TEST_F(LiveCycleTest, UdpBurstLeavesThePortListeningAndEveryLossCounted)
{
    cycle.Configure(CycleConfig {0, 0});
    ASSERT_TRUE(cycle.StartUdpMode());
    const auto record = MakeRecord(PingSpec {}, "52L");
    QUdpSocket sender;
    const auto send = [&] {
        ASSERT_EQ(sender.writeDatagram(reinterpret_cast<const char*>(record.data()),
                      static_cast<qint64>(record.size()), QHostAddress::LocalHost, udp.LocalPort()),
            static_cast<qint64>(record.size()));
    };
    // Back to back, more than one batch and more than the receive queue holds.
    for (int i = 0; i < 200; ++i)
        send();
    const auto seen = [&] {
        return static_cast<std::uint64_t>(state.ping.pingCount) + cycle.Acquisition().droppedDatagrams;
    };
    EXPECT_TRUE(WaitUntil([&] { return seen() >= 200; }, 2000))
        << state.ping.pingCount << " painted and " << cycle.Acquisition().droppedDatagrams
        << " dropped of 200";
    EXPECT_EQ(seen(), 200u) << "a datagram was counted twice";

    // A steady stream after the burst is painted whole.
    const int afterBurst = state.ping.pingCount;
    for (int i = 0; i < 40; ++i) {
        send();
        WaitUntil([] { return false; }, 10);
    }
    EXPECT_TRUE(WaitUntil([&] { return state.ping.pingCount == afterBurst + 40; }, 2000))
        << state.ping.pingCount - afterBurst << " of 40 painted";
}

TEST_F(LiveCycleTest, SwallowedCommandIsSentAgainAfterOneSecond)
{
    sim::FaultPlan faults;
    faults.dropEvery = 3;
    sim::TcpHeadServer head(FastHead(faults));
    StartTcp(head);
    ASSERT_TRUE(WaitForPings(3, 8000));
    ASSERT_GE(tcp.sends.size(), 4u);
    const double silence = tcp.sends[3] - tcp.sends[2];
    EXPECT_GE(silence, 950.0);
    EXPECT_LT(silence, 1600.0);
    EXPECT_EQ(head.Connections(), 1u);
}

TEST_F(LiveCycleTest, StationReconnectsAboutOneSecondAfterTheHeadCloses)
{
    sim::FaultPlan faults;
    faults.closeEvery = 2;
    sim::TcpHeadServer head(FastHead(faults));
    StartTcp(head);
    ASSERT_TRUE(WaitUntil([&] { return head.Connections() >= 2 && state.ping.pingCount >= 3; }, 8000));
    ASSERT_FALSE(events.closed.empty());
    ASSERT_GE(tcp.connects.size(), 2u);
    const double delay = tcp.connects[1] - events.closed[0];
    EXPECT_GE(delay, 950.0);
    EXPECT_LT(delay, 1600.0);
}

TEST_F(LiveCycleTest, SerialHeadPingTimerFollowsThePeriodFormula)
{
    sim::PtyHeadOptions options;
    options.fast = true;
    sim::PtyHead head(options);
    std::string error;
    ASSERT_TRUE(head.Start(&error)) << error;
    ComPortMap ports;
    ports.SetDevice(kHeadComPort, head.DevicePath());
    serial.SetComPortMap(ports);
    SaveIni(SonarType::SerialK52A);
    cycle.Configure(CycleConfig {0, 0});
    cycle.StartRealTime();
    EXPECT_EQ(cycle.Acquisition().linkState, LinkState::Up);
    EXPECT_TRUE(reporter.messages.empty());

    // The watchdog starts the first ping (no reply yet); the second reads
    // the head's answer to the first command.
    ASSERT_TRUE(WaitForPings(1, 8000));
    ASSERT_FALSE(timers.armed.empty());
    const auto [id, ms] = timers.armed.back();
    EXPECT_EQ(id, kPingTimer);
    const int range = state.command[CommandMessage::kRange];
    const int length = state.ping.replyLength;
    const int delay = state.command[CommandMessage::kSwitchDelay];
    ASSERT_TRUE(length == 265 || length == 513);
    EXPECT_EQ(ms, static_cast<int>(range * 2 / 1.5 + length / 11.52 + delay + 0.5));
    EXPECT_EQ(head.Malformed(), 0u);
}

// Whole records in `bytes`, one after the other to the end; -1 when the
// last one is cut or a length cannot be right.
int WholeRecords(const std::vector<std::uint8_t>& bytes)
{
    int count = 0;
    std::size_t offset = 0;
    while (offset + kRecordHeaderSize <= bytes.size()) {
        const int length = RecordLengthField(
            std::span<const std::uint8_t, kRecordHeaderSize>(bytes.data() + offset, kRecordHeaderSize));
        if (length < 112 || offset + static_cast<std::size_t>(length) > bytes.size())
            return -1;
        offset += static_cast<std::size_t>(length);
        ++count;
    }
    return offset == bytes.size() ? count : -1;
}

TEST_F(LiveCycleTest, UnpluggedSerialHeadIsOpenedAgainAtItsPathAndTheRecordingGoesOnWhole)
{
    sim::PtyHeadOptions options;
    options.fast = true;
    options.linkPath = folder / "head";
    auto head = std::make_unique<sim::PtyHead>(options);
    std::string error;
    ASSERT_TRUE(head->Start(&error)) << error;
    ComPortMap ports;
    ports.SetDevice(kHeadComPort, options.linkPath);
    serial.SetComPortMap(ports);
    SaveIni(SonarType::SerialK52A);
    cycle.Configure(CycleConfig {0, 0});
    cycle.StartRealTime();
    ASSERT_EQ(cycle.Acquisition().linkState, LinkState::Up);
    const std::string record = folder / "dive.52a";
    ASSERT_TRUE(recorder.Open(record));
    ASSERT_TRUE(WaitForPings(3, 8000));

    head.reset(); // unplugged: the pseudo-terminal and its link are gone
    EXPECT_TRUE(WaitUntil([&] { return cycle.Acquisition().linkState == LinkState::Down; }, 2000))
        << "the lost port is not noticed";
    EXPECT_EQ(serial.HeldComPort(), 0);
    WaitUntil([] { return false; }, 1500);
    const int pingsUnplugged = state.ping.pingCount;

    head = std::make_unique<sim::PtyHead>(options); // plugged in again, same path
    ASSERT_TRUE(head->Start(&error)) << error;
    EXPECT_TRUE(WaitUntil([&] { return head->Pings() > 0; }, 2000))
        << "no command reached the new head in 2 s";
    ASSERT_TRUE(WaitForPings(pingsUnplugged + 3, 8000));
    EXPECT_EQ(cycle.Acquisition().linkState, LinkState::Up);
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_TRUE(recorder.IsRecording());

    const int pings = state.ping.pingCount;
    recorder.Close();
    EXPECT_EQ(WholeRecords(ReadFileBytes(record)), pings) << "the record file is not whole";
}

TEST_F(LiveCycleTest, ReversePressDuringTheSerialReadGoesOutWithTheNextCommand)
{
    test::PtyPeer head; // silent: every read of the worker lasts its whole time-out
    ASSERT_TRUE(head.Ok());
    ComPortMap ports;
    ports.SetDevice(kHeadComPort, head.Path());
    serial.SetComPortMap(ports);
    SaveIni(SonarType::SerialK52A);
    cycle.Configure(CycleConfig {0, 0});
    cycle.StartRealTime();
    ASSERT_EQ(cycle.Acquisition().linkState, LinkState::Up);

    std::vector<std::uint8_t> written;
    const auto commandsWritten = [&] {
        const auto more = head.Received();
        written.insert(written.end(), more.begin(), more.end());
        return written.size() / kCommandSize;
    };
    // The second command is copied; the worker now reads for 563 ms before
    // it writes that copy and hands over.
    ASSERT_TRUE(WaitUntil([&] { return countedSerial.requests >= 2; }, 5000));
    SetReverseRequest(state.command);
    ASSERT_TRUE(WaitUntil([&] { return commandsWritten() >= 4; }, 8000));

    std::string carried;
    for (std::size_t i = 0; i < 4; ++i)
        carried
            += (written[i * kCommandSize + CommandMessage::kFlags] & CommandMessage::kReverseRequestBit) != 0
            ? '1'
            : '0';
    EXPECT_EQ(carried, "0010") << "the press goes out once, with the command after the read";
}

TEST_F(LiveCycleTest, SwitchingFromTheSerialToTheEthernetHeadGivesTheSerialPortUp)
{
    sim::PtyHeadOptions options;
    options.fast = true;
    sim::PtyHead serialHead(options);
    std::string error;
    ASSERT_TRUE(serialHead.Start(&error)) << error;
    const std::string device = serialHead.DevicePath();
    const int heldBySimulator = DescriptorsOpenOn(device);
    ComPortMap ports;
    ports.SetDevice(kHeadComPort, device);
    serial.SetComPortMap(ports);
    SaveIni(SonarType::SerialK52A);
    cycle.Configure(CycleConfig {0, 0});
    cycle.StartRealTime();
    ASSERT_EQ(cycle.Acquisition().linkState, LinkState::Up);
    ASSERT_TRUE(WaitForPings(2, 8000));
    EXPECT_EQ(DescriptorsOpenOn(device), heldBySimulator + 1);
    EXPECT_EQ(serial.HeldComPort(), kHeadComPort);

    // "Sonar Type" "K52L": the settings file names the new model, then the
    // station connects to the head.
    sim::TcpHeadServer tcpHead(FastHead());
    const int pingsBefore = state.ping.pingCount;
    StartTcp(tcpHead);
    EXPECT_EQ(serial.HeldComPort(), 0);
    EXPECT_TRUE(WaitUntil([&] { return DescriptorsOpenOn(device) == heldBySimulator; }, 3000))
        << "the serial port stays open after the switch";
    EXPECT_TRUE(
        WaitUntil([&] { return tcpHead.Pings() >= 5 && state.ping.pingCount >= pingsBefore + 5; }, 8000))
        << "the Ethernet head is not pinged";
    // No serial ping goes out any more.
    const auto written = serialHead.Pings();
    EXPECT_FALSE(WaitUntil([&] { return serialHead.Pings() > written; }, 300));
}

} // namespace
} // namespace velmaris
