#include "image/ScanLinePainter.h"

#include <gtest/gtest.h>

#include "protocol/CommandMessage.h"

namespace velmaris {
namespace {

TEST(ScanLinePainterTest, ShortLineIsWidenedAndFirstLineFillsTheHistory)
{
    ScanLineHistory h;
    for (int n = 0; n < 250; ++n) {
        h.l0[n] = std::uint8_t(n);
    }
    h.l0[600] = 77; // beyond the echo data: carried along untouched
    PrepareScanLine(h, 25);
    for (int n = 0; n < 250; ++n) {
        ASSERT_EQ(h.l0[2 * n], n);
        ASSERT_EQ(h.l0[2 * n + 1], n);
    }
    EXPECT_EQ(h.l0[600], 77);
    EXPECT_FALSE(h.resetPending);
    EXPECT_EQ(h.l1, h.l0);
    EXPECT_EQ(h.l2, h.l0);
    EXPECT_EQ(h.l3, h.l0);
}

TEST(ScanLinePainterTest, LaterLinesShiftTheHistory)
{
    ScanLineHistory h;
    h.l0.fill(1);
    PrepareScanLine(h, 50);
    h.l0.fill(2);
    PrepareScanLine(h, 50);
    h.l0.fill(3);
    PrepareScanLine(h, 50);
    EXPECT_EQ(h.l1[0], 1);
    EXPECT_EQ(h.l2[0], 2);
    EXPECT_EQ(h.l3[0], 3);
    EXPECT_EQ(h.l3[499], 3); // a 500-sample line is not widened
    h.l0.fill(4);
    PrepareScanLine(h, 50);
    EXPECT_EQ(h.l1[639], 2);
    EXPECT_EQ(h.l3[639], 4);
}

TEST(ScanLinePainterTest, ResetClearsLinesAndProfileHistory)
{
    ScanLineHistory h;
    h.l0.fill(9);
    PrepareScanLine(h, 50);
    PingRecord ping;
    ping.profileHistory = {ProfileEntry {1, 2}, ProfileEntry {3, 4}, ProfileEntry {5, 6}};
    ResetScanHistory(h, ping);
    EXPECT_TRUE(h.resetPending);
    for (const ScanLine* line : {&h.l0, &h.l1, &h.l2, &h.l3}) {
        EXPECT_EQ(*line, ScanLine {});
    }
    for (const ProfileEntry& e : ping.profileHistory) {
        EXPECT_EQ(e.value, 0.0);
        EXPECT_EQ(e.angle, 0.0);
    }
}

TEST(ScanLinePainterTest, InputsComeFromPingSettingsAndLiveCommand)
{
    PingRecord ping;
    ping.echoCount = 500; // D is command byte 19, not the echo count
    ping.directionFlag = 1;
    ping.headAngle = 123.5;
    ping.replyRange = 40;
    ping.statusOffset = -18;
    ping.profileHistory[2] = {321.0, 12.0};
    SonarSettings settings;
    settings.sectorMode = DisplayMode::SideScan;
    settings.stepSize = kStepSlow; // the saved copy is not what the head uses
    settings.pulseLength = 33;
    settings.speedOfSound = 1480.0;
    settings.zoom = 1.25;
    settings.sonarUpDown = 1;
    settings.profileDispMode = 2;
    settings.profileMixWeight = 0.25;
    settings.profilePointSize = 2;
    settings.range = 10;
    CommandMessage cmd;
    cmd[CommandMessage::kStep] = kStepFastest;
    cmd[CommandMessage::kRange] = 50;
    cmd[CommandMessage::kDataPoints] = 25;
    const PaintInputs in = MakePaintInputs(ping, settings, cmd);
    EXPECT_EQ(in.dataPoints, 25);
    EXPECT_EQ(in.directionFlag, 1);
    EXPECT_EQ(in.headAngle, 123.5);
    EXPECT_EQ(in.pingRange, 40.0);
    EXPECT_EQ(in.statusOffset, -18);
    EXPECT_EQ(in.profileHistory[2].value, 321.0);
    EXPECT_EQ(in.displayMode, DisplayMode::SideScan);
    EXPECT_EQ(in.step, 8);
    EXPECT_EQ(in.pulseLength, 33);
    EXPECT_EQ(in.speedOfSound, 1480.0);
    EXPECT_EQ(in.zoom, 1.25);
    EXPECT_EQ(in.sonarUpDown, 1);
    EXPECT_EQ(in.rangeSetting, 50.0);
    EXPECT_EQ(in.mixWeight, 0.25);
    EXPECT_EQ(in.profilePointSize, 2);
    EXPECT_EQ(in.profileDispMode, 2);
    ping.echoCount = 0;
    cmd[CommandMessage::kDataPoints] = 50;
    EXPECT_EQ(MakePaintInputs(ping, settings, cmd).dataPoints, 50);
}

TEST(ScanLinePainterTest, GeometryRadiusAndStartDelay)
{
    EXPECT_EQ(ImageRadiusPx(0.5), 250);
    EXPECT_EQ(ImageRadiusPx(1.0), 500);
    EXPECT_EQ(ImageRadiusPx(0.75), 375);
    EXPECT_EQ(ImageRadiusPx(2.0), 1000);
    EXPECT_EQ(ImageRadiusPx(0.0), 0);
    EXPECT_EQ(ImageRadiusPx(9.0), 0);

    PaintInputs in;
    in.statusOffset = 202;
    in.pulseLength = 10;
    in.pingRange = 30;
    in.speedOfSound = 1500;
    in.dataPoints = 50;
    // d = 302 us; f = 22.65 m; g = 22.65 x 500 / 30 / 100.
    PaintGeometry geo = ComputePaintGeometry(in);
    EXPECT_TRUE(geo.valid);
    EXPECT_EQ(geo.radiusPx, 500);
    EXPECT_EQ(geo.startDelay, 302 * 1500.0 * 0.5 / 10000 * 500 / (30 * 1500.0 / 1500) / 100);
    EXPECT_NEAR(geo.startDelay, 3.775, 1e-12);
    in.dataPoints = 25;
    EXPECT_NEAR(ComputePaintGeometry(in).startDelay, 3.775 / 2, 1e-12);

    in.statusOffset = -41;
    in.pulseLength = 4; // d = -1: no negative offsets
    EXPECT_EQ(ComputePaintGeometry(in).startDelay, 0.0);
    EXPECT_TRUE(ComputePaintGeometry(in).valid);

    in.pingRange = 0;
    EXPECT_FALSE(ComputePaintGeometry(in).valid);
    in.pingRange = 30;
    in.speedOfSound = 0;
    EXPECT_FALSE(ComputePaintGeometry(in).valid);
    in.speedOfSound = 1500;
    in.zoom = -1;
    EXPECT_FALSE(ComputePaintGeometry(in).valid);
}

} // namespace
} // namespace velmaris
