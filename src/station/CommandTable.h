#pragma once
// The station's commands as a table: each id has the action it runs and its
// enable and check rules, registered together beside the handler. Lookups
// of an id nobody registered answer "enabled, unchecked" (the frame's
// default for an item without a rule) and run nothing.
//
// Ownership: the table owns its entries; whatever the actions and rules
// capture must outlive it. Thread: user-interface thread only.

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace velmaris {

class CommandTable {
public:
    using Action = std::function<void()>;
    // A null rule: always enabled, never checked.
    using Rule = std::function<bool()>;

    // Adds command `id`. An id is registered once: a second registration is
    // refused (the first stays) and the id is listed by Duplicates().
    void Register(int id, Action run, Rule enabled = nullptr, Rule checked = nullptr);

    bool Has(int id) const { return entries_.count(id) != 0; }
    std::size_t Size() const { return entries_.size(); }
    bool IsEnabled(int id) const;
    bool IsChecked(int id) const;
    // Runs `id` when it is registered and enabled; true when it ran.
    bool Execute(int id) const;

    // Ids registered more than once, in the order the repeats came.
    const std::vector<int>& Duplicates() const { return duplicates_; }
    // Enable and check state of every entry, in id order: two snapshots
    // differ exactly when some command's state changed between them.
    std::vector<std::uint8_t> States() const;
    // The same into `states`, reusing its storage (the document asks after
    // every ping, so the snapshot must not allocate each time).
    void StatesInto(std::vector<std::uint8_t>& states) const;

private:
    struct Entry {
        Action run;
        Rule enabled;
        Rule checked;
    };

    std::map<int, Entry> entries_;
    std::vector<int> duplicates_;
};

} // namespace velmaris
