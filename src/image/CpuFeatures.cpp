#include "image/CpuFeatures.h"

namespace velmaris {

namespace {

#if defined(VELMARIS_WIDE_X86)
bool Supports(bool avx2)
{
    __builtin_cpu_init();
    return avx2 ? __builtin_cpu_supports("avx2") : __builtin_cpu_supports("avx");
}
#else
bool Supports(bool)
{
    return false;
}
#endif

} // namespace

const bool kCpuHasAvx = Supports(false);
const bool kCpuHasAvx2 = Supports(true);

} // namespace velmaris
