// The run's targets list: what two finished measurements record (against
// the cursor read-out at their ends), and the CSV the list exports.

#include "image/MeasuredTargets.h"

#include <gtest/gtest.h>

#include "image/ScanLinePainter.h"
#include "image/ViewInteraction.h"
#include "image/ViewReadouts.h"

#include <cmath>

namespace velmaris {
namespace {

constexpr int kRange30 = 7; // index of 30 m: 0.06 m per pixel at zoom 1

// Measure mode on, then two clicks; the second finishes the measurement.
std::optional<MeasuredTarget> Measure(
    const ReadoutFrame& frame, ViewInteraction& view, int ax, int ay, int x, int y)
{
    if (!view.measureMode)
        ToggleMeasureMode(view);
    EXPECT_FALSE(FinishedMeasurement(frame, view, ax, ay)) << "the first click only places the anchor";
    PressLeft(view, ax, ay);
    ReleaseLeft(view);
    MoveMouse(view, x, y);
    std::optional<MeasuredTarget> target = FinishedMeasurement(frame, view, x, y);
    PressLeft(view, x, y);
    ReleaseLeft(view);
    return target;
}

TEST(MeasuredTargets, TwoMeasurementsReadWhatTheStatusBarShowsAtTheirEnds)
{
    // An 800 x 600 polar view dragged 40 pixels right: the origin is (440, 300).
    const ReadoutFrame frame {800, 600, 1.5, DisplayMode::Polar, kRange30};
    ViewInteraction view;
    PressLeft(view, 100, 100);
    MoveMouse(view, 140, 100);
    ReleaseLeft(view);

    std::vector<MeasuredTarget> targets;
    const int ends[2][4] = {{540, 300, 540, 200}, {440, 100, 340, 400}};
    for (const auto& e : ends) {
        ViewInteraction before = view;
        const std::optional<MeasuredTarget> target = Measure(frame, view, e[0], e[1], e[2], e[3]);
        ASSERT_TRUE(target);
        targets.push_back(*target);
        // The same values the read-out gives with the cursor on each end.
        before.measureMode = true;
        before.measurementShown = true;
        before.anchorX = e[0];
        before.anchorY = e[1];
        CursorReading anchor, end;
        ReadCursor(frame, before, e[0], e[1], anchor);
        ReadCursor(frame, before, e[2], e[3], end);
        EXPECT_DOUBLE_EQ(target->anchorRange, anchor.range);
        EXPECT_DOUBLE_EQ(*target->anchorBearing, anchor.bearing);
        EXPECT_DOUBLE_EQ(target->endRange, end.range);
        EXPECT_DOUBLE_EQ(*target->endBearing, end.bearing);
        EXPECT_DOUBLE_EQ(target->size, end.targetSize);
        // One measurement per command: the click ended measure mode.
        EXPECT_FALSE(view.measureMode);
        EXPECT_FALSE(FinishedMeasurement(frame, view, e[2], e[3]));
    }
    // 0.04 m per pixel (bearings to 1e-5: the read-out's degree constant is a
    // hair above 180 / pi): anchor 100 px right of the origin (4 m, 90 deg), end
    // 100 px up from there; then 200 px above the origin to 100 px left, 100 px below.
    EXPECT_NEAR(targets[0].anchorRange, 4.0, 1e-12);
    EXPECT_NEAR(*targets[0].anchorBearing, 90.0, 1e-5);
    EXPECT_NEAR(targets[0].endRange, std::sqrt(32.0), 1e-12);
    EXPECT_NEAR(*targets[0].endBearing, 45.0, 1e-5);
    EXPECT_NEAR(targets[0].size, 4.0, 1e-12);
    EXPECT_NEAR(*targets[1].anchorBearing, 0.0, 1e-5);
    EXPECT_NEAR(targets[1].size, std::sqrt(100.0 * 100 + 300.0 * 300) * 0.04, 1e-12);
    EXPECT_NEAR(*targets[1].endBearing, 225.0, 1e-5);
}

TEST(MeasuredTargets, SideScanHasNoBearingsAndOtherClicksFinishNothing)
{
    ViewInteraction view;
    const ReadoutFrame sideScan {800, 600, 1.0, DisplayMode::SideScan, kRange30};
    EXPECT_FALSE(FinishedMeasurement(sideScan, view, 10, 10)) << "measure mode off: a drag";
    const std::optional<MeasuredTarget> target = Measure(sideScan, view, 200, 50, 300, 80);
    ASSERT_TRUE(target);
    EXPECT_FALSE(target->anchorBearing);
    EXPECT_FALSE(target->endBearing);
    // The strip's left edge is x 150: ranges are horizontal distances from it.
    EXPECT_NEAR(target->anchorRange, 3.0, 1e-12);
    EXPECT_NEAR(target->endRange, 9.0, 1e-12);
}

MeasuredTarget Target(std::string pingTime, double size)
{
    MeasuredTarget t;
    t.measuredAt = WallClockText(2026, 12, 9, 7, 5, 3);
    t.pingDate = "07-DEC-2026";
    t.pingTime = std::move(pingTime);
    t.anchorRange = 6.0;
    t.anchorBearing = 90.0;
    t.endRange = 8.4852813742385695;
    t.endBearing = 44.99999;
    t.size = size;
    return t;
}

TEST(MeasuredTargets, CsvHasAHeaderRowAndQuotesOddFields)
{
    EXPECT_EQ(TargetsCsv({}), std::string(kTargetsCsvHeader) + "\r\n");
    MeasuredTarget sideScan = Target("14:30:05", 0.3048);
    sideScan.anchorBearing.reset();
    sideScan.endBearing.reset();
    const std::string csv = TargetsCsv({Target("14:30:05", 6.0), sideScan, Target("a,\"b\"\r\nc", 0.0)});
    EXPECT_EQ(csv,
        "Time,Ping Date,Ping Time,Anchor Range (m),Anchor Bearing (deg),End Range (m),End Bearing (deg),"
        "Size (m),Size (ft)\r\n"
        "2026-12-09 07:05:03,07-DEC-2026,14:30:05,6.00,90.0,8.49,45.0,6.00,19.69\r\n"
        "2026-12-09 07:05:03,07-DEC-2026,14:30:05,6.00,,8.49,,0.30,1.00\r\n"
        "2026-12-09 07:05:03,07-DEC-2026,\"a,\"\"b\"\"\r\nc\",6.00,90.0,8.49,45.0,0.00,0.00\r\n");
}

TEST(MeasuredTargets, CsvAddsThePlacesWhenATargetHasThem)
{
    MeasuredTarget placed = Target("14:30:05", 6.0);
    placed.places = TargetPlaces {{59.5, -10.25}, {59.50000004, -10.2500001}, {-0.000000001, 180.0}};
    const std::string csv = TargetsCsv({placed, Target("14:30:06", 1.0)});
    EXPECT_EQ(csv,
        std::string(kTargetsCsvHeader) + std::string(kTargetsCsvPlacesHeader)
            + "\r\n2026-12-09 07:05:03,07-DEC-2026,14:30:05,6.00,90.0,8.49,45.0,6.00,19.69,"
              "59.5000000,-10.2500000,59.5000000,-10.2500001,0.0000000,180.0000000\r\n"
              "2026-12-09 07:05:03,07-DEC-2026,14:30:06,6.00,90.0,8.49,45.0,1.00,3.28,,,,,,\r\n");
}

TEST(MeasuredTargets, CsvFieldsQuoteOnlyWhatNeedsIt)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"plain text", "plain text"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"line\nbreak", "\"line\nbreak\""},
        {"cr\r", "\"cr\r\""},
        {"semi;colon 'single'", "semi;colon 'single'"},
    };
    for (const auto& [text, field] : cases)
        EXPECT_EQ(CsvField(text), field) << text;
}

} // namespace
} // namespace velmaris
