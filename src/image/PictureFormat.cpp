#include "image/PictureFormat.h"

#include <cctype>
#include <string>

namespace velmaris {

std::string LowerExtension(std::string_view path)
{
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    std::string ext;
    for (const char c : path.substr(dot + 1))
        ext += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

std::optional<PictureFormat> PictureFormatForPath(std::string_view path)
{
    const std::string ext = LowerExtension(path);
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

std::optional<PictureFormat> SaveScreenFormatForPath(std::string_view path)
{
    const auto slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    std::string ext;
    for (const char c : name.substr(dot + 1, 3))
        ext += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "bmp")
        return PictureFormat::Bmp;
    if (ext == "gif")
        return PictureFormat::Gif;
    if (ext == "jpg")
        return PictureFormat::Jpeg;
    if (ext == "tif")
        return PictureFormat::Tiff;
    if (ext == "png")
        return PictureFormat::Png;
    return std::nullopt;
}

} // namespace velmaris
