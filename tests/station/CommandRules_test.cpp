#include "station/CommandRules.h"

#include "station/CommandHooks.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

TEST(CommandRulesTest, ZoomStepsAndLimits)
{
    EXPECT_EQ(ZoomInFrom(0.5), 0.75);
    EXPECT_EQ(ZoomInFrom(1.75), 2.0);
    EXPECT_EQ(ZoomInFrom(2.0), 2.0);
    EXPECT_EQ(ZoomInFrom(0.1), 0.5); // a stray INI value comes back into range
    EXPECT_EQ(ZoomOutFrom(2.0), 1.75);
    EXPECT_EQ(ZoomOutFrom(2.5), 1.5);
    EXPECT_EQ(ZoomOutFrom(0.5), 0.5);
    EXPECT_EQ(ZoomOutFrom(9.0), 4.0);
}

TEST(CommandRulesTest, KeyInPromptsByUnitsAndMode)
{
    EXPECT_EQ(KeyInPrompt(KeyInKind::Range, 1, DisplayMode::Sector), "Key In Range (feet): 3 - 600 ");
    EXPECT_EQ(KeyInPrompt(KeyInKind::Range, -1, DisplayMode::Sector), std::nullopt);
    EXPECT_EQ(KeyInPrompt(KeyInKind::SectorWidth, 0, DisplayMode::SideScan), std::nullopt);
    EXPECT_EQ(KeyInPrompt(KeyInKind::SectorWidth, 0, DisplayMode::Polar), "Key In Sctor Width: (0-360 deg.)");
}

TEST(CommandRulesTest, GpsBaudIndexRoundTripsAndFallsBackToTheFirstRate)
{
    const int bauds[] = {4800, 9600, 19200, 38400, 57600, 115200};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(GpsBaudIndexFor(bauds[i]), i);
        EXPECT_EQ(GpsBaudForIndex(i), bauds[i]);
    }
    EXPECT_EQ(GpsBaudIndexFor(2400), 0);
    EXPECT_EQ(GpsBaudForIndex(6), 4800);
    EXPECT_EQ(GpsBaudForIndex(-1), 4800);
}

TEST(CommandRulesTest, RecordDirectoryEndsWithOneSeparator)
{
    EXPECT_EQ(RecordDirectoryFrom("/data"), "/data/");
    EXPECT_EQ(RecordDirectoryFrom("/"), "/");
}

} // namespace
} // namespace velmaris
