// The station program from start to shutdown against the simulated head on
// loopback: it connects, paints pings, and saves its settings when it is
// told to end, also after the disk filled up under a recording and while a
// message box is open.

#include "files/DataFile.h"
#include "files/PlatformFiles.h"
#include "files/RecordReader.h"
#include "sim/TcpHeadServer.h"
#include "support/ChildProcess.h"
#include "support/FileFaults.h"

#include <gtest/gtest.h>

#include <QImage>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <thread>

namespace velmaris {
namespace {

namespace fs = std::filesystem;
using tool::test::ToolProcess;

std::string StationPath()
{
    return std::string(VELMARIS_BINARY_DIR) + "/bin/velmaris";
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class StationProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("velmaris-station-" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        ini_ = dir_ / "Velmaris.INI";
        std::ofstream(ini_) << "[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\nUDP Mode=0\nGrid=2\n";
        sim::TcpHeadOptions options;
        options.address = "127.0.0.1:0";
        head_ = std::make_unique<sim::TcpHeadServer>(options);
        std::string error;
        ASSERT_TRUE(head_->Start(&error)) << error;
    }
    void TearDown() override
    {
        head_.reset();
        fs::remove_all(dir_);
    }
    std::vector<std::string> Environment() const { return Environment(head_->Port()); }
    std::vector<std::string> Environment(int headPort) const
    {
        return {"QT_QPA_PLATFORM=offscreen", "VELMARIS_HEAD_PORT=" + std::to_string(headPort),
            "VELMARIS_UDP_PORT=0", "XDG_RUNTIME_DIR=" + dir_.string()};
    }
    bool WaitForPings(std::uint64_t pings, int timeoutMs) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (head_->Pings() < pings) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    fs::path dir_;
    fs::path ini_;
    std::unique_ptr<sim::TcpHeadServer> head_;
};

TEST_F(StationProcess, PingsTheHeadAndSavesItsSettingsOnSigterm)
{
    ASSERT_TRUE(fs::exists(StationPath()));
    ToolProcess station(StationPath(), {"--ini", ini_.string()}, Environment());
    ASSERT_TRUE(station.Started());
    ASSERT_TRUE(WaitForPings(10, 20000)) << "the station never pinged the head";
    station.Signal(SIGTERM);
    EXPECT_EQ(station.Wait(), 0) << station.ReadAllErrors();
    const std::string saved = ReadAll(ini_);
    EXPECT_NE(saved.find("[Sonar Settings]"), std::string::npos) << saved;
    EXPECT_NE(saved.find("IP Address=127.0.0.1"), std::string::npos);
    EXPECT_NE(saved.find("Grid=2"), std::string::npos);
}

TEST_F(StationProcess, PaintsTheLivePingsItReceives)
{
    const fs::path shot = dir_ / "station.png";
    ToolProcess station(StationPath(),
        {"--ini", ini_.string(), "--run-for", "3", "--screenshot", shot.string()}, Environment());
    ASSERT_TRUE(station.Started());
    EXPECT_EQ(station.Wait(), 0) << station.ReadAllErrors();
    EXPECT_GT(head_->Pings(), 5u);
    QImage image(QString::fromStdString(shot.string()));
    ASSERT_FALSE(image.isNull());
    // Somewhere in the window the fan shows echoes: colours other than black
    // and the grid's and texts' fixed colours.
    int painted = 0;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            const QRgb c = image.pixel(x, y);
            if (qBlue(c) > 40 && qRed(c) < 60)
                ++painted;
        }
    }
    EXPECT_GT(painted, 200);
}

// While it lives, programs started from this process may write files of at
// most `bytes` bytes, and a write past that fails (EFBIG) instead of killing
// them with SIGXFSZ: a full disk for the child, without a file system of its
// own. This process writes no file meanwhile.
class SmallDiskForChildren {
public:
    explicit SmallDiskForChildren(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        ok_ = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
        savedXfsz_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~SmallDiskForChildren()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedXfsz_);
    }
    bool Ok() const { return ok_; }

private:
    rlimit saved_ {};
    void (*savedXfsz_)(int) = SIG_DFL;
    bool ok_ = false;
};

std::uintmax_t FileSize(const fs::path& path)
{
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? 0 : size;
}

TEST_F(StationProcess, SigtermAfterTheDiskFilledUnderARecordingEndsCleanlyWithWholeRecords)
{
    sim::TcpHeadOptions options;
    options.address = "127.0.0.1:0";
    options.fast = true;
    sim::TcpHeadServer head(options);
    std::string error;
    ASSERT_TRUE(head.Start(&error)) << error;
    const fs::path recording = dir_ / "dive.52l";
    constexpr std::uintmax_t kDisk = 40 * 1024; // 64 records of 640 bytes
    std::unique_ptr<ToolProcess> station;
    {
        SmallDiskForChildren disk(kDisk);
        ASSERT_TRUE(disk.Ok());
        station = std::make_unique<ToolProcess>(StationPath(),
            std::vector<std::string> {"--ini", ini_.string(), recording.string()}, Environment(head.Port()));
    }
    ASSERT_TRUE(station->Started());
    // The disk fills, the station reports it from the reply's handler and
    // goes on pinging without recording.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (FileSize(recording) + 640 <= kDisk && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_GT(FileSize(recording) + 640, kDisk) << "the recording never filled the disk";
    const std::uint64_t pingsWhenFull = head.Pings();
    const auto waitForPings = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (head.Pings() < pingsWhenFull + 20 && std::chrono::steady_clock::now() < waitForPings)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_GE(head.Pings(), pingsWhenFull + 20) << "the cycle stopped when the disk filled";

    station->Signal(SIGTERM);
    EXPECT_EQ(station->WaitFor(5000), 0) << station->ReadAllErrors();
    EXPECT_EQ(station->TermSignal(), 0);
    EXPECT_NE(ReadAll(ini_).find("[Sonar Settings]"), std::string::npos) << "the settings were not saved";

    // The file ends on a whole record and every record in it reads whole.
    const auto size = FileSize(recording);
    EXPECT_EQ(size % 640u, 0u) << size;
    DataFile file;
    ASSERT_EQ(file.Open(recording.string()), DataFile::OpenResult::Ok);
    std::uintmax_t records = 0;
    int damaged = 0;
    WalkRecords(
        file, SonarType::EthernetK52L, [&](const RecordFrame&) { ++records; },
        [&](std::int64_t, const RecordFrame&) { ++damaged; });
    EXPECT_EQ(records, size / 640u);
    EXPECT_EQ(damaged, 0);
}

// A serial head on a port with no device: the start-up shows "COM5 is not
// available. ..." and waits for OK; the signal ends the box and the station.
class SignalWithABoxOpen : public StationProcess, public ::testing::WithParamInterface<int> { };

TEST_P(SignalWithABoxOpen, EndsTheBoxAndTheStationWithItsSettingsSaved)
{
    std::ofstream(ini_) << "[System Settings]\nSonar Type=0\nSonarComPort=5\nGrid=2\n[Serial Devices]\nCOM5="
                        << (dir_ / "no-such-tty").string() << "\n";
    ToolProcess station(StationPath(), {"--ini", ini_.string()}, Environment());
    ASSERT_TRUE(station.Started());
    // Time for the start-up and its box; the box stays until someone acts.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_TRUE(station.Running()) << "the station ended by itself";
    const auto signalled = std::chrono::steady_clock::now();
    station.Signal(GetParam());
    EXPECT_EQ(station.WaitFor(3000), 0) << station.ReadAllErrors();
    const auto took
        = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - signalled);
    EXPECT_LT(took.count(), 1000);
    const std::string saved = ReadAll(ini_);
    EXPECT_NE(saved.find("[Sonar Settings]"), std::string::npos) << saved;
    EXPECT_NE(saved.find("SonarComPort=5"), std::string::npos) << saved;
}

// A FIFO, a folder or a device named as the record file, the file to play
// or the settings file: the station starts (saying why it cannot use it),
// leaves the thing as it was, and ends on SIGTERM at once. Before, a FIFO
// held the start-up in its open, where no signal was heard.
TEST_F(StationProcess, ASpecialFileForAnyFileRoleNeverHoldsTheStation)
{
    struct Run {
        std::string name;
        fs::path special;
        testing::SpecialKind kind;
        std::unique_ptr<ToolProcess> station;
    };
    std::vector<Run> runs;
    for (const testing::SpecialKind kind : testing::kSpecialKinds) {
        const fs::path folder = dir_ / testing::SpecialKindName(kind);
        fs::create_directories(folder);
        const std::vector<std::pair<std::string, std::vector<std::string>>> roles {
            {"record", {"--ini", ini_.string(), (folder / "rec.52l").string()}},
            {"play", {"--ini", ini_.string(), "--play", (folder / "play.52l").string()}},
            {"settings", {"--ini", (folder / "Velmaris.INI").string()}},
        };
        for (const auto& [role, args] : roles) {
            const fs::path special = role == "settings" ? fs::path(args[1]) : fs::path(args.back());
            if (!testing::MakeSpecial(kind, special))
                break; // a device needs root
            runs.push_back({std::string(testing::SpecialKindName(kind)) + " as " + role, special, kind,
                std::make_unique<ToolProcess>(StationPath(), args, Environment())});
        }
    }
    ASSERT_FALSE(runs.empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(2000)); // start-up and its messages
    for (Run& run : runs) {
        SCOPED_TRACE(run.name);
        ASSERT_TRUE(run.station->Started());
        EXPECT_TRUE(run.station->Running()) << "the station ended by itself";
        run.station->Signal(SIGTERM);
    }
    for (Run& run : runs) {
        SCOPED_TRACE(run.name);
        EXPECT_EQ(run.station->WaitFor(5000), 0) << run.station->ReadAllErrors();
        EXPECT_EQ(KindOfPath(run.special.string()),
            run.kind == testing::SpecialKind::Folder ? PathKind::Folder : PathKind::Other);
    }
}

INSTANTIATE_TEST_SUITE_P(SigtermAndSigint, SignalWithABoxOpen, ::testing::Values(SIGTERM, SIGINT),
    [](const ::testing::TestParamInfo<int>& info) { return info.param == SIGTERM ? "Sigterm" : "Sigint"; });

} // namespace
} // namespace velmaris
