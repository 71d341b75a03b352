#include "protocol/PlatformClock.h"

namespace velmaris {

bool BreakDownLocalTime(std::time_t seconds, std::tm& out)
{
    return localtime_s(&out, &seconds) == 0; // arguments the other way round
}

} // namespace velmaris
