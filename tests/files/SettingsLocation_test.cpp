#include "files/SettingsLocation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace velmaris {
namespace {

TEST(SettingsLocation, OverrideThenProgramFolderThenUserFolder)
{
    SettingsLocationInputs in;
    in.programDir = "/opt/velmaris/bin/";
    in.userSettingsFolder = "/home/op/.config/Velmaris/";
    in.overridePath = "/tmp/x.ini";
    EXPECT_EQ(ResolveSettingsPath(in), "/tmp/x.ini");
    in.overridePath.clear();
    in.programDirWritable = true;
    EXPECT_EQ(ResolveSettingsPath(in), "/opt/velmaris/bin/Velmaris.INI");
    in.programDirWritable = false;
    EXPECT_EQ(ResolveSettingsPath(in), "/home/op/.config/Velmaris/Velmaris.INI");
    in.userSettingsFolder = R"(C:\Users\op\AppData\Roaming\Velmaris\)";
    EXPECT_EQ(ResolveSettingsPath(in), R"(C:\Users\op\AppData\Roaming\Velmaris\Velmaris.INI)");
    in.userSettingsFolder.clear(); // no per-user folder known: beside the program after all
    EXPECT_EQ(ResolveSettingsPath(in), "/opt/velmaris/bin/Velmaris.INI");
}

TEST(SettingsLocation, XdgConfigFolderOrHomeConfig)
{
    EXPECT_EQ(XdgConfigFolder("", "/home/op"), "/home/op/.config");
    EXPECT_EQ(XdgConfigFolder("/cfg", "/home/op"), "/cfg");
    EXPECT_EQ(XdgConfigFolder("relative", "/home/op"), "/home/op/.config") << "not absolute: ignored";
    EXPECT_EQ(XdgConfigFolder("", ""), "");
}

// The build tree's bin folder takes the settings file and new recordings; an
// installed program's bin folder never does, even when it is writable (root).
TEST(SettingsLocation, AnInstalledProgramKeepsItsFolderClean)
{
    namespace fs = std::filesystem;
    const fs::path prefix = fs::temp_directory_path() / ("velmaris-location-" + std::to_string(getpid()));
    fs::remove_all(prefix);
    fs::create_directories(prefix / "bin");
    const std::string bin = (prefix / "bin").string() + "/";
    EXPECT_TRUE(ProgramFolderHoldsFiles(bin));
    EXPECT_EQ(DefaultDataFolderForProgram(bin + "velmaris"), bin);
    fs::create_directories(prefix / "share/applications");
    std::ofstream(prefix / "share/applications/velmaris.desktop") << "[Desktop Entry]\n";
    EXPECT_FALSE(ProgramFolderHoldsFiles(bin));
    EXPECT_NE(DefaultDataFolderForProgram(bin + "velmaris"), bin);
    EXPECT_FALSE(ProgramFolderHoldsFiles((prefix / "missing").string()));
    EXPECT_FALSE(ProgramFolderHoldsFiles(""));
    fs::remove_all(prefix);
}

TEST(SettingsLocation, FolderHelpers)
{
    EXPECT_EQ(FolderOf("/a/b/c.52a"), "/a/b/");
    EXPECT_EQ(FolderOf("c.52a"), "");
    EXPECT_EQ(WithTrailingSeparator("/a/b"), "/a/b/");
    EXPECT_EQ(WithTrailingSeparator("/a/b/"), "/a/b/");
    EXPECT_EQ(WithTrailingSeparator(""), "");
}

} // namespace
} // namespace velmaris
