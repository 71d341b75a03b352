// velmaris-tool with a FIFO, a folder or a device where a data file or the
// settings file should be: a clear message and exit status 1, at once.
#include "support/FileFaults.h"
#include "support/RecordFixture.h"
#include "tools/ToolRunner.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

using namespace velmaris::testing;

std::string ReadText(const std::filesystem::path& path)
{
    const auto bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST(ToolSpecialFiles, ADataOrSettingsFileThatIsNoFileEndsWithAMessage)
{
    for (const SpecialKind kind : kSpecialKinds) {
        SCOPED_TRACE(SpecialKindName(kind));
        TempFolder dir("tool-special");
        const auto special = dir / "x.52l";
        if (!MakeSpecial(kind, special) || !MakeSpecial(kind, dir / "v.ini"))
            continue; // a device needs root
        WriteBytes(dir / "ok.52l", MakeRecord(PingSpec {}, "52L"));
        const auto errors = dir / "errors.txt";
        // `timeout` ends a tool that waits on the FIFO (status 124).
        const ToolRun data = RunTool("dump " + Quote(special.string()), errors.string(), "timeout 10 ");
        EXPECT_EQ(data.exitCode, 1);
        EXPECT_TRUE(data.out.empty());
        EXPECT_NE(ReadText(errors).find("not a data file"), std::string::npos) << ReadText(errors);

        const ToolRun ini = RunTool(
            "dump " + Quote((dir / "ok.52l").string()) + " --ini " + Quote((dir / "v.ini").string()),
            errors.string(), "timeout 10 ");
        EXPECT_EQ(ini.exitCode, 1);
        EXPECT_NE(ReadText(errors).find("not a regular file"), std::string::npos) << ReadText(errors);
    }
}

} // namespace
} // namespace velmaris
