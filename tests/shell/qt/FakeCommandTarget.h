#pragma once
// A command target for the shell's tests: states are set by the test, and
// every executed command is recorded.

#include "station/CommandTarget.h"

#include <set>
#include <vector>

namespace velmaris::test {

class FakeCommandTarget : public CommandTarget {
public:
    std::set<int> disabled;
    std::set<int> checked;
    std::vector<int> executed;

    bool IsEnabled(int id) const override { return disabled.count(id) == 0; }
    bool IsChecked(int id) const override { return checked.count(id) != 0; }
    void Execute(int id) override { executed.push_back(id); }
};

} // namespace velmaris::test
