#include "support/ChildProcess.h"

#include <gtest/gtest.h>

namespace velmaris::tool {
namespace {

using test::ToolProcess;

TEST(SynthCommand, WritesARecordingTheExtensionNames)
{
    if (!std::filesystem::exists(test::ToolPath()))
        GTEST_SKIP() << "velmaris-tool is not built";
    char pattern[] = "/tmp/velmaris-synth-tool-XXXXXX";
    const std::filesystem::path dir = ::mkdtemp(pattern);
    const std::string path = (dir / "harbour.52a").string();
    ToolProcess tool({"synth", path, "--pings", "20", "--mode", "sector", "--range", "20", "--seed", "3"});
    ASSERT_TRUE(tool.Started());
    EXPECT_EQ(tool.Wait(), 0) << tool.ReadAllErrors();
    EXPECT_EQ(std::filesystem::file_size(path), 20u * 640u);

    ToolProcess wrongName({"synth", (dir / "harbour.dat").string()});
    EXPECT_EQ(wrongName.Wait(), 2);
    ToolProcess badMode({"synth", path, "--mode", "zigzag"});
    EXPECT_EQ(badMode.Wait(), 2);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace velmaris::tool
