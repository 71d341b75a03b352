#include "station/gdal/GdalSession.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal.h>

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <system_error>

namespace velmaris {

void RegisterGdal()
{
    static std::once_flag registered;
    std::call_once(registered, [] {
        GDALAllRegister();
        CPLSetErrorHandler(CPLQuietErrorHandler);
        // A mosaic's blocks are written once each: a small cache keeps the
        // memory to the mosaic's own.
        GDALSetCacheMax64(std::int64_t(64) << 20);
    });
}

std::string LastGdalError(const char* fallback)
{
    const char* message = CPLGetLastErrorMsg();
    return message != nullptr && *message != '\0' ? message : fallback;
}

bool GdalFailed()
{
    return CPLGetLastErrorType() == CE_Failure || CPLGetLastErrorType() == CE_Fatal;
}

bool PutInPlace(const std::string& temporary, const std::string& path, bool written, std::string& error)
{
    std::error_code ec;
    if (written) {
        std::filesystem::rename(temporary, path, ec);
        if (!ec)
            return true;
        error = ec.message();
    }
    std::filesystem::remove(temporary, ec);
    return false;
}

} // namespace velmaris
