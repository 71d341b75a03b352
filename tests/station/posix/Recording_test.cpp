#include "station/Recording.h"

#include "files/RecordReader.h"
#include "sim/HeadModel.h"
#include "support/FileFaults.h"
#include "support/PlaybackRig.h"
#include "support/RecordFixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace velmaris {
namespace {

using namespace velmaris::testing;

class RecordingTest : public ::testing::Test {
protected:
    // Drives the serial cycle of the rig's document with a simulated head:
    // each transfer hands over the reply to the previous command.
    struct SimulatedSerialHead {
        explicit SimulatedSerialHead(PlaybackRig& r)
            : rig(r)
        {
            rig.SaveIni(SonarType::SerialK52A);
            rig.doc.Cycle().StartRealTime();
            rig.timers.Fire(kWatchdogTimer); // the first transfer request
        }
        // One transfer; true when it delivered a ping that was decoded.
        bool Ping()
        {
            const int before = rig.state.ping.pingCount;
            const auto command = rig.serial.transfers.back();
            rig.doc.Events().OnSerialTransfer(pending, true, command);
            head.Answer(command, pending);
            rig.timers.Fire(kPingTimer);
            return rig.state.ping.pingCount > before;
        }
        PlaybackRig& rig;
        sim::HeadModel head;
        std::vector<std::uint8_t> pending;
    };

    struct Shown {
        int headPosition;
        std::vector<std::uint8_t> echo;
        bool operator==(const Shown&) const = default;
    };
    Shown Current() const
    {
        return Shown {state.ping.headPosition,
            std::vector<std::uint8_t>(state.history.l0.begin(), state.history.l0.begin() + 500)};
    }

    PlaybackRig rig;
    SonarState& state = rig.state;
};

TEST_F(RecordingTest, AutomaticNameFollowsTheLatestStampAndTheHeadOrPlaybackType)
{
    state.ping.date = "07-DEC-2026";
    state.ping.time = "14:30:05";
    state.settings.writeFileDirectory = "/data/dives/";
    state.settings.sonarType = SonarType::SerialK52A;
    EXPECT_EQ(rig.Recorder().AutomaticName(), "/data/dives/Velmaris 07-DEC-2026 143005.52a");
    state.settings.sonarType = SonarType::EthernetK52L;
    EXPECT_EQ(rig.Recorder().AutomaticName(), "/data/dives/Velmaris 07-DEC-2026 143005.52l");

    // A stamp read from a file that cannot be part of a name gives way to the clock.
    state.ping.date = "../../etc/x";
    state.ping.time = "14:30:05";
    EXPECT_EQ(rig.Recorder().AutomaticName(), "/data/dives/Velmaris 07-DEC-2026 143005.52l");

    EXPECT_EQ(RecordExtensionType(SonarType::EthernetK52L, true, SonarType::SerialK52A), SonarType::SerialK52A);
    EXPECT_EQ(RecordExtensionType(SonarType::SerialK52A, true, SonarType::EthernetK52L), SonarType::EthernetK52L);
    EXPECT_FALSE(IsFileNameTimeStamp("07-dec-2026", "14:30:05"));
    EXPECT_FALSE(IsFileNameTimeStamp("07-DEC-2026", "14:30/05"));
}

TEST_F(RecordingTest, LivePingStampNamesTheFileAndTheDialogOffersIt)
{
    SimulatedSerialHead head(rig);
    head.Ping(); // stamped at 14:30:05 on 7 December 2026
    const std::string folder = rig.folder / "";
    state.settings.writeFileDirectory = folder;

    rig.Recorder().StartStop(); // Cancel
    ASSERT_EQ(rig.dialogs.saves.size(), 1u);
    const SaveDialogRequest& dialog = rig.dialogs.saves[0];
    EXPECT_EQ(dialog.title, "Save Sonar Data File:");
    EXPECT_EQ(dialog.initialFolder, folder);
    EXPECT_EQ(dialog.fileName, folder + "Velmaris 07-DEC-2026 143005.52a");
    EXPECT_EQ(dialog.filterText, "Velmaris Data File: (*.52a)");
    EXPECT_EQ(dialog.filterPattern, "*.52a");
    EXPECT_EQ(dialog.defaultExtension, "52a");
    EXPECT_TRUE(dialog.overwritePrompt);
    EXPECT_FALSE(rig.doc.IsRecording());
    EXPECT_TRUE(rig.Recorder().FileName().empty());
}

TEST_F(RecordingTest, StartAndStopSetTheTitlesAndTheRecordFolder)
{
    rig.ui.title = "before";
    std::filesystem::create_directories(rig.folder / "sub");
    const std::string path = rig.folder / "sub/Dive.52L";
    rig.dialogs.saveAnswers.push_back(path);
    rig.Recorder().StartStop();
    ASSERT_TRUE(rig.doc.IsRecording());
    EXPECT_EQ(rig.Recorder().FileName(), path);
    EXPECT_EQ(rig.Recorder().FileType(), SonarType::EthernetK52L);
    EXPECT_EQ(state.settings.writeFileDirectory, rig.folder / "sub/");
    EXPECT_EQ(rig.ui.title, "Velmaris - Record to File [" + path + "] ");

    // Through the dialog path a second start is refused.
    rig.dialogs.saveAnswers.push_back(rig.folder / "other.52a");
    EXPECT_TRUE(rig.Recorder().ChooseRecordFile().empty());
    EXPECT_EQ(rig.reporter.messages, (std::vector<std::string> {"Data is already being saved to file.   "}));

    rig.Recorder().StartStop();
    EXPECT_FALSE(rig.doc.IsRecording());
    EXPECT_EQ(rig.ui.title, "Velmaris - Real Time (K52A)");
    state.settings.sonarType = SonarType::EthernetK52L;
    ASSERT_TRUE(rig.Recorder().OpenRecordFile(path));
    rig.Recorder().StartStop();
    EXPECT_EQ(rig.ui.title, "Velmaris - Real Time (K52L)");
}

TEST_F(RecordingTest, AFileThatCannotBeCreatedIsReportedTwiceAndRecordingStaysOff)
{
    rig.ui.title = "unchanged";
    const std::string path = rig.folder / "no/such/folder/x.52a";
    rig.dialogs.saveAnswers.push_back(path);
    rig.Recorder().StartStop();
    ASSERT_EQ(rig.reporter.messages.size(), 2u);
    EXPECT_EQ(rig.reporter.messages[0], RecordCreateFailedMessage(path, "No such file or directory"));
    EXPECT_EQ(rig.reporter.messages[1], "Error Opening File!");
    EXPECT_FALSE(rig.doc.IsRecording());
    EXPECT_EQ(rig.ui.title, "unchanged");
}

TEST_F(RecordingTest, AWriteFailureStopsRecordingWithAMessage)
{
    SimulatedSerialHead head(rig);
    ASSERT_TRUE(rig.Recorder().OpenRecordFile(rig.folder / "full.52a"));
    {
        const FileSizeLimit full(0);
        for (int i = 0; i < 3; ++i)
            head.Ping();
    }
    EXPECT_FALSE(rig.doc.IsRecording());
    ASSERT_EQ(rig.reporter.messages.size(), 1u);
    EXPECT_NE(rig.reporter.messages[0].find("Recording stopped"), std::string::npos);
    EXPECT_EQ(rig.ui.title, "Velmaris - Real Time (K52A)");
    EXPECT_GE(state.ping.pingCount, 1); // pinging goes on
}

// The record folder removed mid-recording: noticed within about a second,
// between pings as well, with the message and title of a failed write; the
// pings recorded before are written again where they were.
TEST_F(RecordingTest, ARemovedRecordFolderStopsRecordingAndKeepsWhatWasRecorded)
{
    SimulatedSerialHead head(rig);
    const std::string sub = rig.folder / "dive";
    std::filesystem::create_directories(sub);
    const std::string path = sub + "/x.52a";
    ASSERT_TRUE(rig.Recorder().OpenRecordFile(path));
    for (int i = 0; i < 5; ++i)
        head.Ping();
    const std::int64_t recorded = rig.doc.Recorder().Length();
    ASSERT_GT(recorded, 0);
    std::filesystem::remove_all(sub);

    // Only the one-second watchdog fires: no ping arrives meanwhile.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (rig.doc.IsRecording() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        rig.doc.Events().OnTimer(kGpsTimer);
    }
    EXPECT_FALSE(rig.doc.IsRecording()) << "the removed folder was never noticed";
    ASSERT_EQ(rig.reporter.messages.size(), 1u);
    EXPECT_NE(rig.reporter.messages[0].find("Recording stopped"), std::string::npos);
    EXPECT_NE(rig.reporter.messages[0].find(path), std::string::npos);
    EXPECT_EQ(rig.ui.title, "Velmaris - Real Time (K52A)");
    EXPECT_EQ(static_cast<std::int64_t>(std::filesystem::file_size(path)), recorded);
}

TEST_F(RecordingTest, RecordedPingsPlayBackAsTheyWereShown)
{
    SimulatedSerialHead head(rig);
    const std::string path = rig.folder / "roundtrip.52a";
    ASSERT_TRUE(rig.Recorder().OpenRecordFile(path));
    constexpr int kPings = 40;
    std::vector<Shown> live;
    std::vector<std::uint8_t> rasterBeforeLast;
    while (static_cast<int>(live.size()) < kPings) {
        if (live.size() == kPings - 1) {
            rasterBeforeLast.resize(ImageRaster::kBytes);
            state.raster.CopyAll(rasterBeforeLast.data());
        }
        if (head.Ping())
            live.push_back(Current());
    }
    rig.Recorder().StartStop();
    EXPECT_EQ(std::filesystem::file_size(path), kPings * 640u);

    ASSERT_TRUE(rig.Play(path));
    state.settings.playbackSpeed = 0; // one record per tick
    std::vector<Shown> played;
    for (int i = 0; i < kPings; ++i) {
        if (i == kPings - 1) {
            std::vector<std::uint8_t> picture(ImageRaster::kBytes);
            state.raster.CopyAll(picture.data());
            EXPECT_TRUE(picture == rasterBeforeLast) << "the played picture differs from the live one";
        }
        ASSERT_TRUE(rig.Tick());
        played.push_back(Current());
    }
    ASSERT_EQ(played.size(), live.size());
    for (int i = 0; i < kPings; ++i) {
        EXPECT_EQ(played[i].headPosition, live[i].headPosition) << "ping " << i;
        // (After the last record the file ends: the wrap clears the echo line.)
        if (i < kPings - 1) {
            EXPECT_TRUE(played[i].echo == live[i].echo) << "ping " << i;
        }
    }
    EXPECT_NE(live.front().headPosition, live.back().headPosition); // the head moved
}

TEST_F(RecordingTest, AKilledRecorderLeavesOnlyWholeRecords)
{
    const std::string path = rig.folder / "killed.52a";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Record from the simulated head until killed.
        PlaybackRig childRig;
        SimulatedSerialHead head(childRig);
        if (!childRig.Recorder().OpenRecordFile(path))
            ::_exit(2);
        for (;;)
            head.Ping();
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::error_code error;
    while (std::filesystem::file_size(path, error) < 50 * 640 || error) {
        if (std::chrono::steady_clock::now() > deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the recorder ended by itself";

    const std::uintmax_t size = std::filesystem::file_size(path);
    EXPECT_GE(size, 50u * 640u);
    EXPECT_EQ(size % 640, 0u);
    DataFile file;
    ASSERT_EQ(file.Open(path), DataFile::OpenResult::Ok);
    std::uintmax_t records = 0;
    int damaged = 0;
    WalkRecords(
        file, SonarType::SerialK52A,
        [&](const RecordFrame& frame) {
            ++records;
            EXPECT_EQ(std::string(frame.header.begin(), frame.header.begin() + 3), "52A");
        },
        [&](std::int64_t, const RecordFrame&) { ++damaged; });
    EXPECT_EQ(damaged, 0);
    EXPECT_EQ(records, size / 640);
}

} // namespace
} // namespace velmaris
