#include "protocol/PlatformClock.h"

namespace velmaris {

bool BreakDownLocalTime(std::time_t seconds, std::tm& out)
{
    return localtime_r(&seconds, &out) != nullptr;
}

} // namespace velmaris
