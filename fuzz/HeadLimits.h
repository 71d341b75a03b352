#pragma once
// What the head may be sent: the command bytes the fuzz targets check after
// each input that can change them (loaded settings, typed values).

#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"

#include <algorithm>

namespace velmaris::fuzz {

inline bool RangeInTable(int metres)
{
    return std::find(kRangeTableMetres.begin(), kRangeTableMetres.end(), metres) != kRangeTableMetres.end();
}

inline bool StepCode(int code)
{
    return code == 0 || code == 1 || code == 2 || code == 3 || code == 4 || code == 8;
}

// Traps unless every setting byte of the command lies in its table or band.
inline void CheckCommand(const CommandMessage& c)
{
    using M = CommandMessage;
    if (!RangeInTable(c[M::kRange]) || c[M::kGain] > 40 || c[M::kTrain] > 120 || c[M::kSectorWidth] > 120
        || !StepCode(c[M::kStep]) || c[M::kSwitchDelay] > 100 || c[M::kPulseLength] < 1
        || c[M::kPulseLength] > 100 || c[M::kFrequency] < 21 || c[M::kFrequency] > 185)
        __builtin_trap();
}

} // namespace velmaris::fuzz
