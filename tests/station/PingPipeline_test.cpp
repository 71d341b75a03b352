#include "station/PingPipeline.h"

#include "protocol/RecordHeader.h"
#include "support/CycleRig.h"
#include "support/RecordFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace velmaris {
namespace {

using namespace velmaris::testing;

std::vector<std::uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool RasterIsBlank(const SonarState& state)
{
    for (int r = 0; r < ImageRaster::kHeight; ++r) {
        const auto* row = state.raster.Row(r);
        if (!std::all_of(row, row + ImageRaster::kWidth, [](std::uint8_t v) { return v == 0; }))
            return false;
    }
    return true;
}

class PingPipelineTest : public ::testing::Test {
protected:
    // Places a reply in the buffer as a link would deliver it.
    void Deliver(const std::vector<std::uint8_t>& reply)
    {
        std::copy(reply.begin(), reply.end(), rig.Acq().replyBuffer.begin());
        rig.Acq().receivedByteCount = static_cast<int>(reply.size());
        rig.Acq().awaitingReply = false;
    }

    CycleRig rig;
    SonarState& state = rig.state;
};

TEST(NextPingPeriodTest, TravelTransferAndSwitchDelay)
{
    EXPECT_EQ(NextPingPeriodMs(LinkState::Up, 30, 513, 0), 85); // 40 + 44.53 + 0.5
    EXPECT_EQ(NextPingPeriodMs(LinkState::Up, 200, 265, 100), 390); // 266.67 + 23.00 + 100 + 0.5
    EXPECT_EQ(NextPingPeriodMs(LinkState::Down, 30, 513, 0), 1000);
    EXPECT_EQ(NextPingPeriodMs(LinkState::Connecting, 200, 265, 100), 1000);
}

TEST_F(PingPipelineTest, DecodedReplyIsStampedPaintedCountedAndArmsTheSerialPeriod)
{
    rig.Acq().linkState = LinkState::Up;
    state.command[CommandMessage::kRange] = 30;
    state.command[CommandMessage::kSwitchDelay] = 0;
    Deliver(MakeReply('G', 600, 30));

    EXPECT_TRUE(rig.cycle.RunLivePipeline());
    EXPECT_EQ(state.ping.pingCount, 1);
    EXPECT_EQ(state.ping.replyLength, 513);
    EXPECT_EQ(state.ping.receivedByteCount, 513);
    EXPECT_EQ(state.ping.date, "07-DEC-2026");
    EXPECT_EQ(state.ping.time, "14:30:05");
    EXPECT_FALSE(RasterIsBlank(state));
    EXPECT_EQ(rig.ui.viewUpdates, 1);
    EXPECT_EQ(rig.ui.diagnosticsRefreshes, 1);
    EXPECT_EQ(rig.timers.Armed(kPingTimer), 85);

    // 200 m, 'IMX', switch delay 100.
    state.command[CommandMessage::kRange] = 200;
    state.command[CommandMessage::kSwitchDelay] = 100;
    Deliver(MakeReply('M', 600, 200));
    EXPECT_TRUE(rig.cycle.RunLivePipeline());
    EXPECT_EQ(rig.timers.Armed(kPingTimer), 390);
}

TEST_F(PingPipelineTest, NoReplyOnlyMeasuresTimeAndRepaints)
{
    rig.Acq().linkState = LinkState::Down;
    Deliver(MakeReply('G'));
    rig.Acq().awaitingReply = true;
    rig.clock.AdvanceMs(10);
    EXPECT_FALSE(rig.cycle.RunLivePipeline());
    rig.clock.AdvanceMs(120);
    EXPECT_FALSE(rig.cycle.RunLivePipeline());

    EXPECT_EQ(state.ping.pingCount, 0);
    EXPECT_TRUE(RasterIsBlank(state));
    EXPECT_EQ(rig.ui.viewUpdates, 2);
    EXPECT_DOUBLE_EQ(state.ping.loopTime, 120.0);
    EXPECT_EQ(state.ping.loopTimeRounded, 120);
    EXPECT_EQ(rig.timers.Armed(kPingTimer), 1000); // link not up
}

TEST_F(PingPipelineTest, InvalidReplyKindIsDroppedAndStepFiveBecomesFastest)
{
    auto reply = MakeReply('G');
    reply[1] = 'Q';
    Deliver(reply);
    state.command[CommandMessage::kStep] = kStepUnassigned;
    EXPECT_FALSE(rig.cycle.RunLivePipeline());
    EXPECT_EQ(state.ping.pingCount, 0);
    EXPECT_EQ(state.command[CommandMessage::kStep], kStepFastest);
}

TEST_F(PingPipelineTest, HeldOrEthernetCycleDoesNotArmThePingTimer)
{
    Deliver(MakeReply('G'));
    rig.Acq().held = true;
    rig.cycle.RunLivePipeline();
    EXPECT_FALSE(rig.timers.Armed(kPingTimer));

    rig.Acq().held = false;
    state.settings.sonarType = SonarType::EthernetK52L;
    Deliver(MakeReply('G'));
    rig.cycle.RunLivePipeline();
    EXPECT_FALSE(rig.timers.Armed(kPingTimer));
}

TEST_F(PingPipelineTest, LivePingsAreRecordedAsWholeEncodedRecords)
{
    const std::string path = rig.folder / "live.52a";
    ASSERT_TRUE(rig.recorder.Open(path));
    Deliver(MakeReply('G'));
    rig.cycle.RunLivePipeline();
    Deliver(MakeReply('M'));
    rig.cycle.RunLivePipeline();
    Deliver(MakeReply('M'));
    rig.Acq().awaitingReply = true; // no reply: nothing recorded
    rig.cycle.RunLivePipeline();

    const auto bytes = ReadFile(path);
    ASSERT_EQ(bytes.size(), 640u + 384u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 3), "52A");
    EXPECT_EQ(std::string(bytes.begin() + 640, bytes.begin() + 643), "52A");
    EXPECT_EQ(bytes[100], 'I');
    EXPECT_EQ(bytes[101], 'G');
    EXPECT_EQ(bytes[640 + 101], 'M');
}

class UdpPipelineTest : public PingPipelineTest {
protected:
    void SetUp() override { state.settings.udpMode = 1; }
    void Send(const std::vector<std::uint8_t>& datagram) { Send(datagram, datagram.size()); }
    void Send(const std::vector<std::uint8_t>& datagram, std::size_t trueSize)
    {
        rig.cycle.OnUdpDatagram(datagram, trueSize);
    }
};

TEST_F(UdpPipelineTest, DatagramInRecordLayoutIsPaintedCountedAndRecordedUnchanged)
{
    const std::string path = rig.folder / "udp.52l";
    ASSERT_TRUE(rig.recorder.Open(path));
    const auto datagram = MakeRecord(PingSpec {}, "52L");
    rig.Acq().awaitingReply = true;
    Send(datagram);

    EXPECT_EQ(state.ping.pingCount, 1);
    EXPECT_FALSE(rig.Acq().awaitingReply);
    EXPECT_FALSE(RasterIsBlank(state));
    EXPECT_EQ(state.history.l0[0], 80);
    EXPECT_EQ(ReadFile(path), datagram);
    EXPECT_EQ(rig.ui.viewUpdates, 1);
    EXPECT_EQ(rig.ui.statusRefreshes, 1);
    EXPECT_EQ(rig.ui.diagnosticsRefreshes, 1);
}

TEST_F(UdpPipelineTest, DatagramsOutsideTheAcceptedSizesAreIgnoredButTimed)
{
    auto big = MakeRecord(PingSpec {});
    big.resize(1024, 0);
    auto small = big;
    small.resize(112);

    Send(small);
    rig.clock.AdvanceMs(30);
    Send(big);
    rig.clock.AdvanceMs(50);
    Send(big, 5000); // truncated to its first 1024 bytes, but really 5000 long

    EXPECT_EQ(state.ping.pingCount, 0);
    EXPECT_TRUE(RasterIsBlank(state));
    EXPECT_DOUBLE_EQ(rig.Acq().replayLoop.Milliseconds(), 40.0); // 30, then half of 50 and 30
    EXPECT_EQ(rig.ui.viewUpdates, 3);

    big.resize(1023);
    Send(big);
    EXPECT_EQ(state.ping.pingCount, 1);
}

TEST_F(UdpPipelineTest, LyingRecordLengthCannotReachPastTheDatagram)
{
    const std::string path = rig.folder / "lying.52a";
    ASSERT_TRUE(rig.recorder.Open(path));
    auto datagram = MakeRecord(PingSpec {});
    datagram.resize(200); // 88 echo bytes really present
    datagram[4] = 0xFF; // record length 65535
    datagram[5] = 0xFF;
    state.history.l0.fill(7);

    Send(datagram);
    EXPECT_EQ(state.ping.pingCount, 1);
    // L0 got the echo bytes that were there (and kept the rest).
    EXPECT_EQ(state.history.l0[87], 80);
    EXPECT_EQ(state.history.l0[88], 7);
    // A record that claims more than the datagram holds is not written.
    EXPECT_TRUE(ReadFile(path).empty());

    datagram[4] = 0;
    datagram[5] = 50; // shorter than a record's prefix
    Send(datagram);
    EXPECT_EQ(state.ping.pingCount, 2);
    EXPECT_TRUE(ReadFile(path).empty());
}

TEST_F(UdpPipelineTest, HeldStopsTheViewsButNotTheStatus)
{
    rig.Acq().held = true;
    Send(MakeRecord(PingSpec {}));
    EXPECT_EQ(rig.ui.viewUpdates, 0);
    EXPECT_EQ(rig.ui.statusRefreshes, 1);
}

TEST_F(UdpPipelineTest, ModeAndRangeChangesFromTheSenderResetTheImage)
{
    Send(MakeRecord(PingSpec {}));
    ASSERT_FALSE(RasterIsBlank(state));
    rig.Acq().redraw = false;

    PingSpec sidescan;
    sidescan.mode = DisplayMode::SideScan;
    sidescan.step = kStepNone;
    sidescan.width = 0;
    auto datagram = MakeRecord(sidescan);
    datagram[100 + 1] = 'Q'; // mode change, but no valid reply: cleared, not painted
    Send(datagram);
    EXPECT_TRUE(RasterIsBlank(state));
    EXPECT_TRUE(rig.Acq().redraw);

    Send(MakeRecord(PingSpec {}));
    ASSERT_FALSE(RasterIsBlank(state));
    rig.Acq().redraw = false;
    PingSpec longer;
    longer.range = 100;
    Send(MakeRecord(longer));
    EXPECT_EQ(state.command[CommandMessage::kRange], 100);
    EXPECT_TRUE(rig.Acq().redraw);
}

// The view owes a frame throughout unless the step says it was painted.
TEST_F(UdpPipelineTest, ABurstOfChangesClearsTheRasterOncePerPaintedFrame)
{
    PingSpec polar;
    PingSpec sidescan;
    sidescan.mode = DisplayMode::SideScan;
    sidescan.step = kStepNone;
    sidescan.width = 0;
    PingSpec farther = polar;
    farther.range = 100;
    struct Step {
        const PingSpec& sent;
        bool framePaintedBefore;
        bool painted; // false: dropped, the state as it was
        DisplayMode mode; // `Sector Mode` after it
    };
    Send(MakeRecord(polar));
    ASSERT_EQ(state.settings.sectorMode, DisplayMode::Polar);
    rig.ui.frameAwaited = true;
    const std::vector<Step> steps {
        {sidescan, false, true, DisplayMode::SideScan}, // the first change clears
        {polar, false, false, DisplayMode::SideScan}, // a second before its frame: dropped
        {sidescan, false, true, DisplayMode::SideScan}, // no change: painted as ever
        {farther, false, false, DisplayMode::SideScan}, // a range change clears too: dropped
        {polar, true, true, DisplayMode::Polar}, // the frame was painted: may clear again
        {farther, false, false, DisplayMode::Polar},
        {farther, true, true, DisplayMode::Polar},
    };
    std::uint64_t dropped = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        if (s.framePaintedBefore) {
            rig.ui.frameAwaited = false;
            Send(MakeRecord(s.sent));
            rig.ui.frameAwaited = true;
        } else {
            const int pings = state.ping.pingCount;
            const int updates = rig.ui.viewUpdates;
            Send(MakeRecord(s.sent));
            EXPECT_EQ(state.ping.pingCount, pings + (s.painted ? 1 : 0)) << i;
            EXPECT_EQ(rig.ui.viewUpdates, updates + (s.painted ? 1 : 0)) << i;
        }
        dropped += s.painted ? 0 : 1;
        EXPECT_EQ(state.settings.sectorMode, s.mode) << i;
        EXPECT_EQ(rig.Acq().droppedDatagrams, dropped) << i;
        EXPECT_FALSE(RasterIsBlank(state)) << i;
    }
    EXPECT_EQ(state.command[CommandMessage::kRange], 100);
}

TEST_F(UdpPipelineTest, DropsAtTheSocketAreCountedAndANewUdpModeStartsAtZero)
{
    rig.cycle.OnUdpDropped(5);
    rig.cycle.OnUdpDropped(2);
    EXPECT_EQ(rig.Acq().droppedDatagrams, 7u);
    rig.cycle.StartUdpMode();
    EXPECT_EQ(rig.Acq().droppedDatagrams, 0u);
}

} // namespace
} // namespace velmaris
