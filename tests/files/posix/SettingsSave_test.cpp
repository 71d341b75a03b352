// Saving the settings over what a POSIX system keeps about a file: its
// permissions, a symbolic link in its place, and a write that fails half-way.
#include "support/SettingsFileFixture.h"

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

namespace velmaris {
namespace {

int ModeOf(const std::string& path)
{
    struct stat st { };
    return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

// Files in `folder` other than `keep`: leftovers of a temporary file.
int OthersIn(const fs::path& folder, const fs::path& keep)
{
    int others = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        others += entry.path().filename() != keep ? 1 : 0;
    return others;
}

TEST_F(SettingsFileTest, SaveKeepsTheFilePermissions)
{
    for (const int mode : {0640, 0600, 0664}) {
        WriteIni("[System Settings]\nGrid=0\n");
        ASSERT_EQ(chmod(path_.c_str(), static_cast<mode_t>(mode)), 0);
        ASSERT_TRUE(Save());
        EXPECT_EQ(ModeOf(path_), mode) << std::oct << mode;
    }
}

TEST_F(SettingsFileTest, SaveWritesThroughASymbolicLink)
{
    fs::create_directories(dir_ / "kept");
    const fs::path target = dir_ / "kept" / "station.ini";
    {
        std::ofstream out(target, std::ios::binary);
        out << "[System Settings]\nGrid=0\nMy Own Key=keep me\n";
    }
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    fs::create_symlink(fs::path("kept") / "station.ini", path_); // relative to the link's folder
    settings_.grid = 2;
    ASSERT_TRUE(Save());

    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(fs::read_symlink(path_), fs::path("kept") / "station.ini");
    const std::string text = ReadIni(); // through the link: the target's bytes
    EXPECT_NE(text.find("Grid=2\n"), std::string::npos);
    EXPECT_NE(text.find("My Own Key=keep me\n"), std::string::npos);
    EXPECT_EQ(ModeOf(target.string()), 0640);
    EXPECT_EQ(OthersIn(dir_ / "kept", "station.ini"), 0);
    EXPECT_EQ(OthersIn(dir_, kIniFileName), 1) << "only the folder kept/ beside the link";

    // A link whose target does not exist yet: the target is created, the link stays.
    fs::remove(target);
    ASSERT_TRUE(Save());
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_TRUE(fs::is_regular_file(target));
}

TEST_F(SettingsFileTest, FailedSaveLeavesTheOldFile)
{
    // The new file grows past a file-size limit, so its write falls short.
    const std::string old = "[System Settings]\nGrid=0\nMy Own Key=" + std::string(3000, 'x') + "\n";
    WriteIni(old);
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool saved_ok = Save();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(ReadIni(), old);
    EXPECT_EQ(OthersIn(dir_, kIniFileName), 0) << "the temporary file is removed";
}

} // namespace
} // namespace velmaris
