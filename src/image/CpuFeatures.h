#pragma once
// The wide instructions the painters and the blit may use, asked of the
// processor once at start. A wide path is built only where the compiler can
// emit it (GCC or Clang on x86-64; not on Windows, whose compilers do not keep
// 32-byte stack alignment for spilled AVX registers) and taken only where the
// processor has it; its results are those of the plain path. Read-only after
// start, so any thread may read it.

#if defined(__GNUC__) && defined(__x86_64__) && !defined(_WIN32)
#define VELMARIS_WIDE_X86 1
#endif

namespace velmaris {

extern const bool kCpuHasAvx;
extern const bool kCpuHasAvx2;

} // namespace velmaris
