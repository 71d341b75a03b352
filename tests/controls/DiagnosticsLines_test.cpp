#include "controls/DiagnosticsLines.h"

#include "image/SonarState.h"
#include "protocol/ReplyMessage.h"
#include "station/AcquisitionState.h"
#include "support/CycleFakes.h"

#include <gtest/gtest.h>

#include <memory>

namespace velmaris {
namespace {

using testing::MakeReply;

bool Wrote(DiagnosticsLines::Mask mask, int line)
{
    return (mask >> line) & 1U;
}

// A document's state with a decoded reply in it, as the pipeline leaves it.
class DiagnosticsLinesTest : public ::testing::Test {
protected:
    void Decode(const std::vector<std::uint8_t>& reply)
    {
        StoreReply(reply, state->ping, state->history.l0);
        ASSERT_TRUE(DecodeReplyHeader(state->ping, state->command, state->settings, ReplyContext {}));
    }
    DiagnosticsInput Input() const { return DiagnosticsInputFrom(*state, acq); }
    DiagnosticsLines::Mask Refresh() { return lines.Refresh(Input()); }
    // Refreshes until the PRF line may change again.
    void RefreshTimes(int n)
    {
        for (int i = 0; i < n; ++i)
            Refresh();
    }

    std::unique_ptr<SonarState> state = std::make_unique<SonarState>();
    testing::FakeClock clock;
    AcquisitionState acq {clock};
    DiagnosticsLines lines;
};

TEST_F(DiagnosticsLinesTest, ResetBlanksTheValueLinesButNotTheTimingLines)
{
    Decode(MakeReply('G', 600, 30));
    state->ping.loopTimeRounded = 100;
    RefreshTimes(11);
    ASSERT_EQ(lines.Text(kDiagPrf), ":   100 ms (10.1 Hz)");
    const DiagnosticsLines::Mask reset = lines.Reset();
    for (int line = 0; line < kDiagPrf; ++line) {
        EXPECT_TRUE(Wrote(reset, line)) << DiagnosticsLines::Label(line);
        EXPECT_EQ(lines.Text(line), ":   n/a") << DiagnosticsLines::Label(line);
    }
    EXPECT_FALSE(Wrote(reset, kDiagPrf));
    EXPECT_FALSE(Wrote(reset, kDiagLoopTime));
    EXPECT_EQ(lines.Text(kDiagPrf), ":   100 ms (10.1 Hz)");
    EXPECT_EQ(DiagnosticsLines::Label(kDiagFrequency), std::string("Freqency"));
    EXPECT_EQ(DiagnosticsLines::Label(kDiagIpAddress), std::string("IP Adress"));
}

TEST_F(DiagnosticsLinesTest, FirstRefreshFillsTheLinesFromADecodedPing)
{
    state->settings.sonarType = SonarType::SerialK52A;
    state->settings.sonarComPort = 3;
    state->settings.absorption = 255; // a valid value that must still show
    state->settings.trainAngleDegrees = 0; // equals nothing remembered after a reset
    state->command[CommandMessage::kSwitchDelay] = 10;
    state->command[CommandMessage::kStep] = kStepFastest;
    Decode(MakeReply('M', 612, 50));
    lines.Reset();
    const DiagnosticsLines::Mask first = Refresh();

    const std::pair<int, const char*> expected[] = {
        {kDiagHeader, ":   IMX"},
        {kDiagHeadId, ":   0x10"},
        {kDiagStatus, ":   0x1"},
        {kDiagRange, ":   50 m"},
        {kDiagGain, ":   6 dB"},
        {kDiagMode, ":   Polar"},
        {kDiagTrainAngle, ":   0 deg."},
        {kDiagSpeed, ":   Fastest"},
        {kDiagHeadPos, ":   612 "},
        {kDiagDataBytes, ":   250 "},
        {kDiagFrequency, ":   1000 kHz"},
        {kDiagAbsorption, ":   2.55 dB/m"},
        {kDiagPulseLength, ":   100 usec"},
        {kDiagSwitchDelay, ":   10 msec"},
        {kDiagSoundV, ":   1500.0 m/s"},
        {kDiagComPort, ":   COM3"},
        {kDiagIpAddress, ":   n/a"},
    };
    for (const auto& [line, text] : expected)
        EXPECT_EQ(lines.Text(line), text) << DiagnosticsLines::Label(line);
    EXPECT_FALSE(Wrote(first, kDiagIpAddress));

    // Nothing changed: only "Loop Time" is written again.
    EXPECT_EQ(Refresh(), DiagnosticsLines::Mask {1} << kDiagLoopTime);

    // A changed value rewrites its own line only; feet triple the metres.
    state->settings.metricScale = 1;
    Decode(MakeReply('M', 612, 100));
    EXPECT_EQ(Refresh(),
        (DiagnosticsLines::Mask {1} << kDiagRange) | (DiagnosticsLines::Mask {1} << kDiagLoopTime));
    EXPECT_EQ(lines.Text(kDiagRange), ":   300 ft");
}

TEST_F(DiagnosticsLinesTest, AllZeroHeadIdAndStatusStayNotAvailable)
{
    auto reply = MakeReply('G');
    reply[3] = 0;
    reply[4] = 0;
    Decode(reply);
    lines.Reset();
    const DiagnosticsLines::Mask first = Refresh();
    EXPECT_FALSE(Wrote(first, kDiagHeadId));
    EXPECT_FALSE(Wrote(first, kDiagStatus));
    EXPECT_EQ(lines.Text(kDiagHeadId), ":   n/a");
    EXPECT_EQ(lines.Text(kDiagStatus), ":   n/a");
    reply[4] = 0xA3;
    Decode(reply);
    Refresh();
    EXPECT_EQ(lines.Text(kDiagStatus), ":   0xa3");
}

struct LinkCase {
    SonarType sonarType;
    bool playback;
    const char* comPort;
    const char* ipAddress;
};

class DiagnosticsLinkLinesTest : public DiagnosticsLinesTest,
                                 public ::testing::WithParamInterface<LinkCase> { };

TEST_P(DiagnosticsLinkLinesTest, LinkLinesFollowTheHeadTypeAndNeverShowInPlayback)
{
    const LinkCase& c = GetParam();
    state->settings.sonarType = c.sonarType;
    state->settings.ipAddress = "127.0.0.1";
    state->settings.sonarComPort = 2;
    state->flags.playback = c.playback;
    Decode(MakeReply('G'));
    lines.Reset();
    Refresh();
    EXPECT_EQ(lines.Text(kDiagComPort), c.comPort);
    EXPECT_EQ(lines.Text(kDiagIpAddress), c.ipAddress);
}

INSTANTIATE_TEST_SUITE_P(HeadTypes, DiagnosticsLinkLinesTest,
    ::testing::Values(LinkCase {SonarType::SerialK52A, false, ":   COM2", ":   n/a"},
        LinkCase {SonarType::EthernetK52L, false, ":   n/a", ":   127.0.0.1"},
        LinkCase {SonarType::SerialK52A, true, ":   n/a", ":   n/a"},
        LinkCase {SonarType::EthernetK52L, true, ":   n/a", ":   n/a"}));

TEST_F(DiagnosticsLinesTest, PrfLineChangesAtMostOnceEveryElevenRefreshes)
{
    Decode(MakeReply('G'));
    state->ping.loopTimeRounded = 0;
    RefreshTimes(10);
    EXPECT_EQ(lines.Text(kDiagPrf), ":   n/a"); // the counter is not above 10 yet
    EXPECT_TRUE(Wrote(Refresh(), kDiagPrf)); // 11th: 0 differs from the reset memory
    EXPECT_EQ(lines.Text(kDiagPrf), ":   n/a"); // a loop time below 1 ms has no rate

    state->ping.loopTimeRounded = 100;
    for (int i = 1; i <= 10; ++i)
        EXPECT_FALSE(Wrote(Refresh(), kDiagPrf)) << "refresh " << i;
    EXPECT_TRUE(Wrote(Refresh(), kDiagPrf));
    EXPECT_EQ(lines.Text(kDiagPrf), ":   100 ms (10.1 Hz)");

    // An unchanged loop time lets the counter run on: the next change shows at once.
    RefreshTimes(20);
    state->ping.loopTimeRounded = 8;
    EXPECT_TRUE(Wrote(Refresh(), kDiagPrf));
    EXPECT_EQ(lines.Text(kDiagPrf), ":   8 ms (125.1 Hz)");
}

TEST_F(DiagnosticsLinesTest, TimingLinesWhileAwaitingAReplyAndLoopTimeByMode)
{
    Decode(MakeReply('G'));
    state->ping.loopTimeRounded = 50;
    RefreshTimes(11);
    acq.awaitingReply = true;
    const DiagnosticsLines::Mask waiting = Refresh();
    EXPECT_TRUE(Wrote(waiting, kDiagPrf));
    EXPECT_TRUE(Wrote(waiting, kDiagLoopTime));
    EXPECT_EQ(lines.Text(kDiagPrf), ":   n/a");
    EXPECT_EQ(lines.Text(kDiagLoopTime), ":   n/a");

    // Live: the live link's loop time; UDP and playback: the time between records.
    acq.awaitingReply = false;
    acq.liveLoop.Measure();
    clock.AdvanceMs(40);
    acq.liveLoop.Measure();
    acq.replayLoop.Measure();
    clock.AdvanceMs(250);
    acq.replayLoop.Measure();
    Refresh();
    EXPECT_EQ(lines.Text(kDiagLoopTime), ":   40 ms");
    state->settings.udpMode = 1;
    Refresh();
    EXPECT_EQ(lines.Text(kDiagLoopTime), ":   250 ms");
}

TEST_F(DiagnosticsLinesTest, DroppedLineAppearsWithTheFirstDropAndCountsOn)
{
    EXPECT_STREQ(DiagnosticsLines::Label(kDiagDropped), "Dropped");
    EXPECT_FALSE(Wrote(Refresh(), kDiagDropped));
    EXPECT_EQ(lines.Text(kDiagDropped), "");
    acq.droppedDatagrams = 3;
    acq.awaitingReply = true; // written even while no reply comes
    EXPECT_TRUE(Wrote(Refresh(), kDiagDropped));
    EXPECT_EQ(lines.Text(kDiagDropped), ":   3 datagrams");
    EXPECT_FALSE(Wrote(Refresh(), kDiagDropped));
    EXPECT_FALSE(Wrote(lines.Reset(), kDiagDropped));
    EXPECT_EQ(lines.Text(kDiagDropped), ":   3 datagrams");
    acq.droppedDatagrams = 0; // a new UDP mode
    EXPECT_TRUE(Wrote(Refresh(), kDiagDropped));
    EXPECT_EQ(lines.Text(kDiagDropped), ":   0 datagrams");
}

TEST(DiagnosticsExtraLinesTest, ReportsOnlyRealChanges)
{
    DiagnosticsLines lines;
    EXPECT_FALSE(lines.SetExtraLines({}));
    EXPECT_TRUE(lines.SetExtraLines({{"Latitude", ":   n/a"}}));
    EXPECT_FALSE(lines.SetExtraLines({{"Latitude", ":   n/a"}}));
    ASSERT_EQ(lines.Extra().size(), 1U);
    EXPECT_EQ(lines.Extra()[0].first, "Latitude");
}

} // namespace
} // namespace velmaris
