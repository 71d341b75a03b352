// The platform seam's file replacement, on both platforms: a finished file
// takes the place of one already there (a plain rename refuses that on
// Windows), and a failure leaves the target as it was.
#include "files/PlatformFiles.h"

#include "support/RecordFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace velmaris {
namespace {

std::string Read(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(PlatformFiles, MoveFileOverTakesThePlaceOfAnExistingFileOrLeavesItAlone)
{
    testing::TempFolder folder {"replacefile"};
    const auto target = folder / "picture.png";
    std::ofstream(target, std::ios::binary) << "old";
    std::ofstream(folder / "new.tmp", std::ios::binary) << "new";

    std::string error;
    EXPECT_TRUE(MoveFileOver((folder / "new.tmp").string(), target.string(), &error)) << error;
    EXPECT_EQ(Read(target), "new");
    EXPECT_FALSE(std::filesystem::exists(folder / "new.tmp"));

    EXPECT_FALSE(MoveFileOver((folder / "missing.tmp").string(), target.string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Read(target), "new");
}

} // namespace
} // namespace velmaris
