// The Windows side of the files room's platform seam: the per-user settings
// folder under %APPDATA% and a writable-folder check that creates a file.
#include "files/PlatformFiles.h"

#include "support/RecordFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace velmaris {
namespace {

TEST(PlatformFilesWindows, SettingsFolderUnderAppDataAndWritableFolders)
{
    const char* was = std::getenv("APPDATA");
    const std::string saved = was ? was : "";
    ASSERT_EQ(_putenv_s("APPDATA", R"(C:\Users\op\AppData\Roaming)"), 0);
    EXPECT_EQ(UserSettingsFolder(), R"(C:\Users\op\AppData\Roaming\Velmaris\)");
    ASSERT_EQ(_putenv_s("APPDATA", ""), 0); // removes it
    EXPECT_EQ(UserSettingsFolder(), "");
    _putenv_s("APPDATA", saved.c_str());

    testing::TempFolder folder {"platformfiles"};
    EXPECT_TRUE(FolderIsWritable(folder.Path().string()));
    EXPECT_FALSE(FolderIsWritable((folder / "missing").string()));
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path())) << "the probe file is gone again";
    EXPECT_TRUE(IsPathSeparator('\\'));
    EXPECT_TRUE(IsPathSeparator('/'));
}

} // namespace
} // namespace velmaris
