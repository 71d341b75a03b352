#include "image/PictureFormat.h"

#include <cctype>
#include <string>

namespace velmaris {

std::optional<PictureFormat> PictureFormatForPath(std::string_view path)
{
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::nullopt;
    std::string ext;
    for (const char c : path.substr(dot + 1))
        ext += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "bmp")
        return PictureFormat::Bmp;
    if (ext == "gif")
        return PictureFormat::Gif;
    if (ext == "jpg" || ext == "jpeg")
        return PictureFormat::Jpeg;
    if (ext == "tif" || ext == "tiff")
        return PictureFormat::Tiff;
    if (ext == "png")
        return PictureFormat::Png;
    return std::nullopt;
}

} // namespace velmaris
