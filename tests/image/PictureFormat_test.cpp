#include "image/PictureFormat.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

struct ExtensionCase {
    const char* path;
    std::optional<PictureFormat> format;
};

class SaveScreenExtensionTest : public ::testing::TestWithParam<ExtensionCase> { };

// Three letters after the last dot of the name, in lower case.
TEST_P(SaveScreenExtensionTest, MapsTheFirstThreeLettersAfterTheLastDot)
{
    EXPECT_EQ(SaveScreenFormatForPath(GetParam().path), GetParam().format) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Names, SaveScreenExtensionTest,
    ::testing::Values(ExtensionCase {"/tmp/a.bmp", PictureFormat::Bmp},
        ExtensionCase {"/tmp/a.gif", PictureFormat::Gif}, ExtensionCase {"/tmp/a.jpg", PictureFormat::Jpeg},
        ExtensionCase {"/tmp/a.tif", PictureFormat::Tiff}, ExtensionCase {"/tmp/a.png", PictureFormat::Png},
        ExtensionCase {"/tmp/Shot.PNG", PictureFormat::Png},
        ExtensionCase {"/tmp/a.tiff", PictureFormat::Tiff}, ExtensionCase {"/tmp/a.jpeg", std::nullopt},
        ExtensionCase {"/tmp/a.Jp", std::nullopt}, ExtensionCase {"/tmp/a.", std::nullopt},
        ExtensionCase {"/tmp/a", std::nullopt},
        ExtensionCase {"/tmp/pics.png/shot", std::nullopt}, // a dot in a folder is no extension
        ExtensionCase {"/tmp/x.png.txt", std::nullopt}, ExtensionCase {"relative.BmPx", PictureFormat::Bmp}));

} // namespace
} // namespace velmaris
