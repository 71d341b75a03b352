// A FIFO, a folder or a device named like a data, settings or record file:
// every reader and writer of the files room refuses it at once, saying why,
// and none waits on it.
#include "files/DataFile.h"
#include "files/IniFile.h"
#include "files/RecordWriter.h"
#include "support/CycleFakes.h"
#include "support/FileFaults.h"
#include "support/RecordFixture.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

using namespace velmaris::testing;
using namespace std::chrono_literals;

class SpecialFileTest : public ::testing::TestWithParam<SpecialKind> {
protected:
    void SetUp() override
    {
        if (!MakeSpecial(GetParam(), path_))
            GTEST_SKIP() << "cannot make a " << SpecialKindName(GetParam()) << " here";
    }
    TempFolder folder_ {"specialfiles"};
    std::filesystem::path path_ = folder_ / "x.52l";
};

// Each case runs in a child: against a reader that blocks, the child is
// killed after the limit and the case fails instead of hanging the suite.
TEST_P(SpecialFileTest, IsRefusedAtOnceByEveryReaderAndWriter)
{
    const std::string path = path_.string();
    const auto dataFile = [&] {
        DataFile file;
        return file.Open(path) == DataFile::OpenResult::NotAFile && !file.IsOpen() ? 0 : 1;
    };
    const auto settings = [&] {
        IniFile ini;
        return ini.Load(path) == IniRead::NotAFile ? 0 : 1;
    };
    const auto record = [&] {
        RecordingReporter reporter;
        RecordWriter writer(reporter);
        return !writer.Open(path) && writer.LastError() == kNotRegularFileCause ? 0 : 1;
    };
    EXPECT_EQ(ResultWithin(dataFile, 3s), 0) << "data file";
    EXPECT_EQ(ResultWithin(settings, 3s), 0) << "settings file";
    EXPECT_EQ(ResultWithin(record, 3s), 0) << "record file";
    EXPECT_EQ(KindOfPath(path), GetParam() == SpecialKind::Folder ? PathKind::Folder : PathKind::Other);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialFileTest, ::testing::ValuesIn(kSpecialKinds),
    [](const ::testing::TestParamInfo<SpecialKind>& info) { return SpecialKindName(info.param); });

} // namespace
} // namespace velmaris
