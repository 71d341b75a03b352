#include "files/SettingsLocation.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

TEST(SettingsLocation, OverrideThenProgramFolderThenConfigFolder)
{
    SettingsLocationInputs in;
    in.programDir = "/opt/velmaris/bin/";
    in.home = "/home/op";
    in.overridePath = "/tmp/x.ini";
    EXPECT_EQ(ResolveSettingsPath(in), "/tmp/x.ini");
    in.overridePath.clear();
    in.programDirWritable = true;
    EXPECT_EQ(ResolveSettingsPath(in), "/opt/velmaris/bin/Velmaris.INI");
    in.programDirWritable = false;
    EXPECT_EQ(ResolveSettingsPath(in), "/home/op/.config/Velmaris/Velmaris.INI");
    in.xdgConfigHome = "/cfg";
    EXPECT_EQ(ResolveSettingsPath(in), "/cfg/Velmaris/Velmaris.INI");
    in.xdgConfigHome = "relative"; // not absolute: ignored
    EXPECT_EQ(ResolveSettingsPath(in), "/home/op/.config/Velmaris/Velmaris.INI");
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
