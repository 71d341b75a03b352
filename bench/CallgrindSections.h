#pragma once
// Instruction counts of marked sections of a benchmark run under callgrind
// with --collect-atstart=no (bench/callgrind-ratios.sh): each section is
// collected alone and dumped under its name. Outside valgrind, or built
// without valgrind's header, nothing is counted.
#include <string>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#endif

namespace velmaris {

inline bool CountingInstructions()
{
#if defined(RUNNING_ON_VALGRIND)
    return RUNNING_ON_VALGRIND != 0;
#else
    return false;
#endif
}

// Runs f with collection on and dumps the counts as "name|items", items
// being what the script divides the count by (pings, frames).
template <typename F>
void CountSection(const std::string& name, long items, F f)
{
#if defined(RUNNING_ON_VALGRIND)
    CALLGRIND_TOGGLE_COLLECT;
    f();
    CALLGRIND_TOGGLE_COLLECT;
    const std::string label = name + "|" + std::to_string(items); // must outlive the request
    CALLGRIND_DUMP_STATS_AT(label.c_str());
#else
    (void)name;
    (void)items;
    f();
#endif
}

} // namespace velmaris
