#pragma once
// Reads back the targets CSV that "Export Targets..." writes (TargetsCsv):
// its header row, with or without the six place columns, then one row per
// target. Fields may be quoted (quotes doubled inside); rows end in CR LF or
// LF. Numbers are read with "." whatever the locale.
//
// The text is untrusted: every row must have exactly the header's field
// count, every number must read whole and be finite (ranges and sizes not
// negative, bearings 0 to 360, latitudes and longitudes within their
// bounds), a target's places are all six or none, and at most
// kTargetsCsvRowCap rows and kTargetsCsvFieldCap bytes a field are taken.
// Plain function, any thread.

#include "image/MeasuredTargets.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmaris {

inline constexpr std::size_t kTargetsCsvRowCap = 100'000;
inline constexpr std::size_t kTargetsCsvFieldCap = 256;

// The targets of `text`, or false with what is wrong and on which line (the
// header is line 1) in `error`; `targets` is then left empty.
bool ReadTargetsCsv(std::string_view text, std::vector<MeasuredTarget>& targets, std::string& error);

} // namespace velmaris
