#pragma once
// What the module's GDAL writers share: GDAL's drivers registered once (its
// own messages kept quiet: failures come back as each call's error), the
// last error's words, and a finished file put at its path.
//
// Any thread; GDAL's last error is per thread.

#include <string>

namespace velmaris {

// Registers GDAL's drivers and sets its error handler and block cache, the
// first time only.
void RegisterGdal();

// GDAL's last error message, or `fallback` when it has none.
std::string LastGdalError(const char* fallback);

// Whether the last error GDAL raised was a failure.
bool GdalFailed();

// Renames `temporary` over `path` when `written`; otherwise, or when the
// rename fails (its cause then in `error`), removes `temporary`.
bool PutInPlace(const std::string& temporary, const std::string& path, bool written, std::string& error);

} // namespace velmaris
