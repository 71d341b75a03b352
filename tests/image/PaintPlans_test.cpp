#include "image/PaintPlans.h"

#include <random>

#include <gtest/gtest.h>

#include "PaintTestSupport.h"
#include "ReferencePainter.h"
#include "image/ScanLinePainter.h"

namespace velmaris {
namespace {

// The painters keep their plans from ping to ping: a ping painted after any
// one input changed, and after it changed back, must still match the plain
// transcription, which derives everything afresh.
TEST(PaintPlansTest, EveryInputThatShapesAPlanRemakesIt)
{
    struct Change {
        const char* name;
        void (*apply)(PaintInputs&);
    };
    static const Change kChanges[] = {
        {"zoom with the same radius", [](PaintInputs& in) { in.zoom = 1.001; }},
        {"zoom", [](PaintInputs& in) { in.zoom = 2.0; }},
        {"speed of sound", [](PaintInputs& in) { in.speedOfSound = 1480; }},
        {"speed of sound above 1500", [](PaintInputs& in) { in.speedOfSound = 3100; }},
        {"status offset", [](PaintInputs& in) { in.statusOffset = 112; }},
        {"pulse length", [](PaintInputs& in) { in.pulseLength = 40; }},
        {"data points", [](PaintInputs& in) { in.dataPoints = 25; }},
        {"ping range", [](PaintInputs& in) { in.pingRange = 50; }},
        {"mix weight through the table", [](PaintInputs& in) { in.mixWeight = 0.3; }},
        {"mix weight as a shift", [](PaintInputs& in) { in.mixWeight = 0.25; }},
        {"step", [](PaintInputs& in) { in.step = kStepFastest; }},
    };
    PaintTables tables;
    std::mt19937 rng(1500);
    for (const DisplayMode mode : {DisplayMode::Polar, DisplayMode::SideScan}) {
        for (const Change& change : kChanges) {
            ImageRaster raster;
            ScanLineHistory history;
            reference::Image ref;
            ScanLineHistory refHistory;
            PaintInputs base;
            base.displayMode = mode;
            base.step = kStepSlow;
            base.statusOffset = 202;
            base.pingRange = 20;
            base.speedOfSound = 1500;
            PaintInputs changed = base;
            change.apply(changed);
            int ping = 0;
            for (const PaintInputs* in : {&base, &base, &changed, &changed, &base}) {
                PaintInputs turned = *in;
                turned.headAngle = 40.0 + 7.5 * ping++;
                testing::FillEchoes(history, 500, rng);
                refHistory.l0 = history.l0;
                PaintPing(raster, history, turned, tables);
                PrepareScanLine(refHistory, turned.dataPoints);
                if (mode == DisplayMode::SideScan) {
                    reference::PaintSideScan(ref, refHistory, turned);
                } else {
                    reference::PaintSector(ref, refHistory, turned, tables.trig, tables.blend);
                }
                ASSERT_EQ(testing::Logical(raster), ref.px)
                    << change.name << ", mode " << CodeOf(mode) << ", ping " << ping;
            }
        }
    }
}

// The waterfall's column map: several samples per column below 1500 m/s
// (the last one shows), one each at 1500, filled stretches above.
TEST(PaintPlansTest, WaterfallColumnsFollowTheRuleAtAnySpeed)
{
    PaintTables tables;
    std::mt19937 rng(7);
    for (const double speed : {1499.9999999999998, 1500.0, 1000.0, 1500.0000000000002, 4499.0}) {
        ImageRaster raster;
        ScanLineHistory history;
        reference::Image ref;
        for (int ping = 0; ping < 3; ++ping) {
            PaintInputs in;
            in.displayMode = DisplayMode::SideScan;
            in.speedOfSound = speed;
            in.statusOffset = 202;
            in.pingRange = 7;
            testing::FillEchoes(history, 500, rng);
            PaintPing(raster, history, in, tables);
            reference::PaintSideScan(ref, history, in);
        }
        EXPECT_EQ(testing::Logical(raster), ref.px) << speed;
    }
}

} // namespace
} // namespace velmaris
