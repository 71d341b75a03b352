// Colour table, zoom, grid, units, profile, marks, clear and re-centre.

#include "CommandsFixture.h"

#include "station/CommandIds.h"

namespace velmaris {
namespace {

using namespace velmaris::testing;

TEST_F(CommandsTest, ZoomInStopsAtTwoAndZoomOutAtOneHalf)
{
    Settings().zoom = 1.75;
    commands.Execute(cmd::kZoomIn);
    EXPECT_EQ(Settings().zoom, 2.0);
    commands.Execute(cmd::kZoomIn);
    EXPECT_EQ(Settings().zoom, 2.0);
    Settings().zoom = 0.5;
    commands.Execute(cmd::kZoomOut);
    EXPECT_EQ(Settings().zoom, 0.5);
    Settings().zoom = 1.0;
    commands.Execute(cmd::kZoomOut);
    EXPECT_EQ(Settings().zoom, 0.75);
    commands.Execute(cmd::kZoomIn);
    commands.Execute(cmd::kZoomIn);
    EXPECT_EQ(Settings().zoom, 1.25);
}

TEST_F(CommandsTest, ZoomAboveTwoFromTheIniStepsByWholeUnitsBackToTwo)
{
    Settings().zoom = 3.0;
    commands.Execute(cmd::kZoomOut);
    EXPECT_EQ(Settings().zoom, 2.0);
    Settings().zoom = 3.0;
    commands.Execute(cmd::kZoomIn); // 4.0, limited to 2.0
    EXPECT_EQ(Settings().zoom, 2.0);
    Settings().zoom = 6.0;
    commands.Execute(cmd::kZoomOut); // 5.0, limited to 4.0
    EXPECT_EQ(Settings().zoom, 4.0);
}

TEST_F(CommandsTest, ZoomFactorItemsSetTheirFactorClearTheRasterAndRepaint)
{
    const double expected[] = {0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0};
    for (int id = cmd::kZoomFirst; id <= cmd::kZoomLast; ++id) {
        State().raster.Set(100, 200, 77);
        hooks.hints.clear();
        commands.Execute(id);
        EXPECT_EQ(Settings().zoom, expected[id - cmd::kZoomFirst]) << id;
        EXPECT_EQ(State().raster.At(100, 200), 0) << id;
        EXPECT_EQ(hooks.hints, std::vector<int> {0}) << id;
        EXPECT_TRUE(commands.IsChecked(id)) << id;
    }
    State().raster.Set(5, 5, 9);
    commands.Execute(cmd::kZoomIn); // at 2.0 it stays, but still clears
    EXPECT_EQ(State().raster.At(5, 5), 0);
}

TEST_F(CommandsTest, ColourTableSetsTheIndexWithHintTenAndKeepsTheImage)
{
    State().raster.Set(10, 10, 50);
    for (int id = cmd::kColorTableFirst; id <= cmd::kColorTableLast; ++id) {
        commands.Execute(id);
        EXPECT_EQ(Settings().colorTable, id - 32771);
    }
    EXPECT_EQ(hooks.hints, std::vector<int>(9, kColorTableHint));
    EXPECT_EQ(State().raster.At(10, 10), 50);
    GoUdp();
    commands.Execute(cmd::kColorTableFirst + 2);
    EXPECT_EQ(Settings().colorTable, 2); // works in every mode
}

TEST_F(CommandsTest, GridItemsMapInTheirOwnOrder)
{
    commands.Execute(cmd::kGridRectangular); // 32829
    EXPECT_EQ(Settings().grid, 2);
    commands.Execute(cmd::kGridPolar); // 32830
    EXPECT_EQ(Settings().grid, 1);
    commands.Execute(cmd::kGridNone);
    EXPECT_EQ(Settings().grid, 0);
    EXPECT_EQ(hooks.hints, (std::vector<int> {0, 0, 0}));
}

TEST_F(CommandsTest, UnitsApplyTheSettings)
{
    ui = RecordingUi {};
    commands.Execute(cmd::kUnitsFeet);
    EXPECT_EQ(Settings().metricScale, 1);
    EXPECT_EQ(ui.miniBarRefreshes, 1);
    EXPECT_EQ(State().flags.statusResetRequest, 1);
    commands.Execute(cmd::kUnitsMeters);
    EXPECT_EQ(Settings().metricScale, 0);
    EXPECT_EQ(ui.miniBarRefreshes, 2);
}

TEST_F(CommandsTest, ProfileModeSetsTheMixWeightAndPointSizeTheSize)
{
    const double weights[] = {1.0, 0.0, 0.25, 0.5, 1.0};
    for (int id = cmd::kProfileFirst; id <= cmd::kProfileLast; ++id) {
        commands.Execute(id);
        EXPECT_EQ(Settings().profileDispMode, id - cmd::kProfileFirst);
        EXPECT_EQ(Settings().profileMixWeight, weights[id - cmd::kProfileFirst]) << id;
    }
    commands.Execute(cmd::kPointSizeLast);
    EXPECT_EQ(Settings().profilePointSize, 2);
    commands.Execute(cmd::kPointSizeFirst);
    EXPECT_EQ(Settings().profilePointSize, 0);
}

TEST_F(CommandsTest, TogglesInvertTheirFlagAndOnlyTheIndicatorRepaints)
{
    Settings().viewRangeMark = 1;
    Settings().zeroDown = 0;
    commands.Execute(cmd::kRangeMarker);
    commands.Execute(cmd::kZeroDown);
    EXPECT_EQ(Settings().viewRangeMark, 0);
    EXPECT_EQ(Settings().zeroDown, 1);
    EXPECT_TRUE(hooks.hints.empty());
    commands.Execute(cmd::kColorIndicator);
    EXPECT_EQ(commands.ColorIndicator(), 0);
    EXPECT_FALSE(commands.IsChecked(cmd::kColorIndicator));
    commands.Execute(cmd::kColorIndicator);
    EXPECT_EQ(commands.ColorIndicator(), 1);
    EXPECT_EQ(hooks.hints, (std::vector<int> {0, 0}));
    // A hand-edited 5 counts as set.
    Settings().zeroDown = 5;
    commands.Execute(cmd::kZeroDown);
    EXPECT_EQ(Settings().zeroDown, 0);
}

TEST_F(CommandsTest, ClearScreenZeroesTheRasterAndRedrawAsksForARecentre)
{
    State().raster.Set(3999, 3999, 118);
    commands.Execute(cmd::kClearScreen);
    EXPECT_EQ(State().raster.At(3999, 3999), 0);
    State().flags.viewRecentreRequest = 0;
    commands.Execute(cmd::kRedraw);
    EXPECT_EQ(State().flags.viewRecentreRequest, 1);
    EXPECT_EQ(hooks.hints, std::vector<int> {0});
}

} // namespace
} // namespace velmaris
