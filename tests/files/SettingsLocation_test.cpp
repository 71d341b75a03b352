#include "files/SettingsLocation.h"

#include <gtest/gtest.h>

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
