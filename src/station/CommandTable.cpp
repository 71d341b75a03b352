#include "station/CommandTable.h"

#include <utility>

namespace velmaris {

void CommandTable::Register(int id, Action run, Rule enabled, Rule checked)
{
    const bool added
        = entries_.try_emplace(id, Entry {std::move(run), std::move(enabled), std::move(checked)}).second;
    if (!added)
        duplicates_.push_back(id);
}

bool CommandTable::IsEnabled(int id) const
{
    const auto it = entries_.find(id);
    return it == entries_.end() || !it->second.enabled || it->second.enabled();
}

bool CommandTable::IsChecked(int id) const
{
    const auto it = entries_.find(id);
    return it != entries_.end() && it->second.checked && it->second.checked();
}

bool CommandTable::Execute(int id) const
{
    const auto it = entries_.find(id);
    if (it == entries_.end())
        return false;
    const Entry& entry = it->second;
    if (entry.enabled && !entry.enabled())
        return false;
    if (entry.run)
        entry.run();
    return true;
}

std::vector<std::uint8_t> CommandTable::States() const
{
    std::vector<std::uint8_t> states;
    StatesInto(states);
    return states;
}

void CommandTable::StatesInto(std::vector<std::uint8_t>& states) const
{
    states.clear();
    states.reserve(entries_.size());
    for (const auto& [id, entry] : entries_) {
        const bool enabled = !entry.enabled || entry.enabled();
        const bool checked = entry.checked && entry.checked();
        states.push_back(static_cast<std::uint8_t>((enabled ? 1 : 0) | (checked ? 2 : 0)));
    }
}

} // namespace velmaris
