// The command table: lookups of unknown ids, the guard that keeps a grey
// command from running, one registration per id, and the state snapshot
// the commands compare to tell the frame of a change.

#include "station/CommandTable.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

TEST(CommandTable, UnknownIdsAreEnabledUncheckedAndRunNothing)
{
    CommandTable table;
    int runs = 0;
    table.Register(1, [&runs] { ++runs; });
    EXPECT_FALSE(table.Has(2));
    EXPECT_TRUE(table.IsEnabled(2));
    EXPECT_FALSE(table.IsChecked(2));
    EXPECT_FALSE(table.Execute(2));
    EXPECT_EQ(runs, 0);
    // Null rules: always enabled, never checked.
    EXPECT_TRUE(table.IsEnabled(1));
    EXPECT_FALSE(table.IsChecked(1));
    EXPECT_TRUE(table.Execute(1));
    EXPECT_EQ(runs, 1);
}

TEST(CommandTable, AGreyCommandDoesNotRunAndRulesAreAskedEachTime)
{
    CommandTable table;
    bool enabled = false;
    bool checked = true;
    int runs = 0;
    table.Register(
        7, [&runs] { ++runs; }, [&enabled] { return enabled; }, [&checked] { return checked; });
    EXPECT_FALSE(table.IsEnabled(7));
    EXPECT_TRUE(table.IsChecked(7));
    EXPECT_FALSE(table.Execute(7));
    EXPECT_EQ(runs, 0);
    enabled = true;
    checked = false;
    EXPECT_TRUE(table.Execute(7));
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(table.IsChecked(7));
}

TEST(CommandTable, AnIdIsRegisteredOnceAndTheFirstRegistrationStays)
{
    CommandTable table;
    std::vector<int> ran;
    table.Register(3, [&ran] { ran.push_back(1); });
    table.Register(
        3, [&ran] { ran.push_back(2); }, [] { return false; });
    table.Register(4, [&ran] { ran.push_back(4); });
    table.Register(3, nullptr);
    EXPECT_EQ(table.Size(), 2u);
    EXPECT_EQ(table.Duplicates(), (std::vector<int> {3, 3}));
    EXPECT_TRUE(table.IsEnabled(3)); // the refused rule is not used
    EXPECT_TRUE(table.Execute(3));
    EXPECT_EQ(ran, std::vector<int> {1});
}

TEST(CommandTable, SnapshotsDifferExactlyWhenAStateChanged)
{
    CommandTable table;
    bool enabled = true;
    bool checked = false;
    table.Register(
        10, nullptr, [&enabled] { return enabled; }, nullptr);
    table.Register(11, nullptr, nullptr, [&checked] { return checked; });
    const auto first = table.States();
    EXPECT_EQ(first.size(), 2u);
    EXPECT_EQ(table.States(), first);
    checked = true;
    const auto second = table.States();
    EXPECT_NE(second, first);
    enabled = false;
    EXPECT_NE(table.States(), second);
    enabled = true;
    EXPECT_EQ(table.States(), second);
}

} // namespace
} // namespace velmaris
