// Reads arbitrary bytes as a targets CSV (export --xtf --targets). Whatever
// the file holds, a file that reads gives targets within the reader's
// bounds, and writing them again reads back to as many targets.
#include "image/TargetsCsvReader.h"

#include <cmath>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmaris;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<MeasuredTarget> targets;
    std::string error;
    if (!ReadTargetsCsv(text, targets, error)) {
        if (!targets.empty() || error.empty())
            __builtin_trap();
        return 0;
    }
    for (const MeasuredTarget& t : targets) {
        if (!(t.anchorRange >= 0) || !(t.endRange >= 0) || !(t.size >= 0) || !std::isfinite(t.size))
            __builtin_trap();
        for (const auto& bearing : {t.anchorBearing, t.endBearing})
            if (bearing && !(*bearing >= 0 && *bearing <= 360))
                __builtin_trap();
        if (t.places && std::fabs(t.places->middle.latitude) > 90)
            __builtin_trap();
    }
    std::vector<MeasuredTarget> again;
    if (!ReadTargetsCsv(TargetsCsv(targets), again, error) || again.size() != targets.size())
        __builtin_trap();
    return 0;
}
