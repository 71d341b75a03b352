#include "sim/FaultPlan.h"

#include <charconv>
#include <vector>

namespace velmaris::sim {

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = text.find(separator, begin);
        parts.push_back(
            text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
        if (end == std::string_view::npos)
            return parts;
        begin = end + 1;
    }
}

bool ParseCount(std::string_view text, int low, int high, int& out)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return false;
    out = value;
    return true;
}

} // namespace

bool FaultPlan::Any() const
{
    return dropEvery || delayEvery || splitEvery || garbageEvery || closeEvery || undersizeEvery
        || oversizeEvery || badLengthEvery;
}

std::optional<FaultPlan> FaultPlan::Parse(std::string_view text, std::string* error)
{
    FaultPlan plan;
    auto fail = [error](std::string message) -> std::optional<FaultPlan> {
        if (error)
            *error = std::move(message);
        return std::nullopt;
    };
    if (text.empty())
        return plan;
    for (std::string_view item : Split(text, ',')) {
        if (item.empty())
            continue;
        const std::size_t eq = item.find('=');
        const std::string_view name = item.substr(0, eq);
        std::vector<std::string_view> values;
        if (eq != std::string_view::npos)
            values = Split(item.substr(eq + 1), ':');
        int every = 1;
        if (!values.empty() && !ParseCount(values[0], 1, 1000000, every))
            return fail("bad period in fault '" + std::string(item) + "' (a whole number from 1)");
        auto extra = [&](std::size_t index, int low, int high, int& out) {
            return index >= values.size() || ParseCount(values[index], low, high, out);
        };
        std::size_t allowed = 1;
        bool ok = true;
        if (name == "drop") {
            plan.dropEvery = every;
        } else if (name == "delay") {
            plan.delayEvery = every;
            ok = extra(1, 0, 60000, plan.delayMs);
            allowed = 2;
        } else if (name == "split") {
            plan.splitEvery = every;
            ok = extra(1, 2, 64, plan.splitParts) && extra(2, 0, 10000, plan.splitPauseMs);
            allowed = 3;
        } else if (name == "garbage") {
            plan.garbageEvery = every;
        } else if (name == "close") {
            plan.closeEvery = every;
        } else if (name == "undersize") {
            plan.undersizeEvery = every;
        } else if (name == "oversize") {
            plan.oversizeEvery = every;
        } else if (name == "badlength") {
            plan.badLengthEvery = every;
        } else {
            return fail("unknown fault '" + std::string(name)
                + "' (known: drop, delay, split, garbage, close, undersize, oversize, badlength)");
        }
        if (!ok || values.size() > allowed)
            return fail("bad values in fault '" + std::string(item) + "'");
    }
    return plan;
}

} // namespace velmaris::sim
