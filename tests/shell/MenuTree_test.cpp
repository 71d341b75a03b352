// The status-bar prompts and tool tips of the commands: those the station
// gives, and none for every other command of the menus.

#include "shell/MenuTree.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace velmaris {
namespace {

void CollectIds(const std::vector<MenuItem>& items, std::vector<int>& ids)
{
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Command)
            ids.push_back(item.id);
        CollectIds(item.items, ids);
    }
}

TEST(MenuTreeTest, EachCommandHasThePromptAndToolTipItIsGiven)
{
    const std::map<int, std::pair<std::string_view, std::string_view>> given {
        {32879, {"Plot data from UDP", "Udp Mode"}}};
    std::vector<int> ids {32810, 32811, 32812, 32825}; // toolbar only
    for (const Menu& menu : MainMenuBar())
        CollectIds(menu.items, ids);
    ASSERT_GT(ids.size(), 60u);
    for (int id : ids) {
        const std::optional<CommandPrompt> prompt = PromptFor(id);
        const auto it = given.find(id);
        if (it == given.end()) {
            EXPECT_FALSE(prompt.has_value()) << id;
            continue;
        }
        ASSERT_TRUE(prompt.has_value()) << id;
        EXPECT_EQ(prompt->prompt, it->second.first) << id;
        EXPECT_EQ(prompt->toolTip, it->second.second) << id;
    }
}

} // namespace
} // namespace velmaris
