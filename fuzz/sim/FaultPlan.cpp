// Any text as the simulated head's fault plan: parsing either fails with a
// message or gives periods and values inside their bands.
#include "sim/FaultPlan.h"

#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using velmaris::sim::FaultPlan;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto plan = FaultPlan::Parse(text, &error);
    if (!plan) {
        if (error.empty())
            __builtin_trap();
        return 0;
    }
    for (const int every : {plan->dropEvery, plan->delayEvery, plan->splitEvery, plan->garbageEvery,
             plan->closeEvery, plan->undersizeEvery, plan->oversizeEvery, plan->badLengthEvery})
        if (every < 0 || every > 1000000)
            __builtin_trap();
    if (plan->delayMs < 0 || plan->delayMs > 60000 || plan->splitParts < 2 || plan->splitParts > 64
        || plan->splitPauseMs < 0 || plan->splitPauseMs > 10000)
        __builtin_trap();
    for (std::uint64_t n = 1; n < 4; ++n)
        FaultPlan::Hits(plan->dropEvery, n);
    return 0;
}
