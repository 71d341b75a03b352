#pragma once
// Picture file formats the station writes (Save Screen, velmaris-tool render).

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace velmaris {

enum class PictureFormat { Bmp, Gif, Jpeg, Tiff, Png };

// Format from the file name's extension, any case: bmp, gif, jpg/jpeg,
// tif/tiff, png. Nothing for any other name.
// The extension of the path's last name (after its last dot), lower-cased;
// "" when that name has none. Every file format here follows it.
std::string LowerExtension(std::string_view path);

std::optional<PictureFormat> PictureFormatForPath(std::string_view path);

// Save Screen's rule: the (at most) three characters after the last dot of
// the file name, compared in lower case, must be bmp, gif, jpg, tif or png.
// So "x.PNG" is PNG, "x.tiff" is TIFF and "x.jpeg" is refused. The name
// itself is never changed.
std::optional<PictureFormat> SaveScreenFormatForPath(std::string_view path);

// Save Screen's file dialog: title and the five filters in list order.
inline constexpr std::string_view kSaveScreenTitle = "Save Image As:";
struct PictureFilter {
    std::string_view description;
    std::string_view pattern;
};
inline constexpr std::array<PictureFilter, 5> kSaveScreenFilters {{
    {"Bitmap: (*.BMP)", "*.bmp"},
    {"Graphics Interchange Format: (*.GIF)", "*.gif"},
    {"JPG File Interchange Format: (*.JPG)", "*.jpg"},
    {"Tag Image File Format: (*.TIF)", "*.tif"},
    {"Portable Networks Graphics: (*.PNG)", "*.png"},
}};

} // namespace velmaris
