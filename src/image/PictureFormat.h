#pragma once
// Picture file formats the station writes (Save Screen, velmaris-tool render).

#include <optional>
#include <string_view>

namespace velmaris {

enum class PictureFormat { Bmp, Gif, Jpeg, Tiff, Png };

// Format from the file name's extension, any case: bmp, gif, jpg/jpeg,
// tif/tiff, png. Nothing for any other name.
std::optional<PictureFormat> PictureFormatForPath(std::string_view path);

} // namespace velmaris
