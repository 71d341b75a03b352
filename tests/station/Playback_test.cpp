#include "station/Playback.h"

#include "support/PlaybackRig.h"
#include "support/RecordFixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmaris {
namespace {

using namespace velmaris::testing;

class PlaybackTest : public ::testing::Test {
protected:
    // A file of `count` records made from `want`, under `name`.
    std::string WriteFile(
        const std::string& name, const PingSpec& want, int count, std::string_view tag = "52A")
    {
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < count; ++i)
            Append(bytes, MakeRecord(want, tag));
        return WriteRaw(name, bytes);
    }
    std::string WriteRaw(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = rig.folder / name;
        WriteBytes(path, bytes);
        return path;
    }

    PlaybackRig rig;
    SonarState& state = rig.state;
};

TEST_F(PlaybackTest, OpeningAFileStopsTheLinksAndStartsThePlaybackFromItsStart)
{
    const std::string path = WriteFile("dive.52a", PingSpec {}, 10);
    rig.state.settings.readFileDirectory = "/somewhere/";
    rig.state.settings.udpMode = 1;
    rig.Acq().held = true;
    ASSERT_TRUE(rig.Recorder().OpenRecordFile(rig.folder / "rec.52a"));
    rig.timers.SetTimer(kWatchdogTimer, 1000);
    rig.timers.SetTimer(kGpsTimer, 200);

    ASSERT_TRUE(rig.Play(path));
    ASSERT_EQ(rig.dialogs.opens.size(), 1u);
    const OpenDialogRequest& dialog = rig.dialogs.opens[0];
    EXPECT_EQ(dialog.title, "Open Data File:");
    EXPECT_EQ(dialog.filterText, "Sonar Data Files: (*.52a) (*.52l)");
    EXPECT_EQ(dialog.filterPattern, "*.52?");
    EXPECT_EQ(dialog.initialFolder, "/somewhere/");

    EXPECT_TRUE(std::filesystem::exists(rig.folder / "Velmaris.INI")); // settings saved first
    EXPECT_EQ(rig.timers.armed, (std::map<int, int> {{kPingTimer, 50}}));
    EXPECT_FALSE(rig.Acq().held);
    EXPECT_FALSE(rig.doc.IsRecording());
    EXPECT_EQ(rig.serial.closes, 1);
    EXPECT_GE(rig.tcp.closes, 1);
    EXPECT_EQ(rig.udp.closes, 1);
    EXPECT_FALSE(state.settings.udpMode);
    EXPECT_EQ(rig.Acq().linkState, LinkState::Down);
    EXPECT_EQ(state.settings.readFileDirectory, rig.folder / "");
    EXPECT_EQ(state.settings.openFileFilterIndex, 1);
    EXPECT_FALSE(rig.Player().FileDialogOpen());
    EXPECT_EQ(rig.Player().FileName(), path);
    EXPECT_EQ(rig.Player().FileLength(), 6400);
    EXPECT_EQ(rig.Player().FileStep(), 64);
    EXPECT_EQ(rig.ui.title, "Velmaris - Playback File [" + path + "] ");
    EXPECT_EQ(rig.ui.bars, ControlBars::Playback);
    ASSERT_EQ(rig.bar.shows.size(), 1u);
    EXPECT_EQ(rig.bar.shows[0].speed, 6);
    EXPECT_EQ(rig.bar.shows[0].fileLength, 6400);
    EXPECT_EQ(rig.bar.shows[0].fileStep, 64);
}

TEST_F(PlaybackTest, CancelResumesTheCycleThatWasRunning)
{
    rig.state.settings.sonarType = SonarType::SerialK52A;
    rig.Player().OpenFileToPlayback();
    EXPECT_EQ(rig.timers.armed, (std::map<int, int> {{kPingTimer, 50}}));
    EXPECT_FALSE(rig.Player().FileDialogOpen());
    EXPECT_FALSE(state.flags.playback);

    rig.timers.armed.clear();
    rig.state.settings.sonarType = SonarType::EthernetK52L;
    rig.Player().OpenFileToPlayback();
    EXPECT_EQ(rig.timers.armed, (std::map<int, int> {{kSendTimer, 0}}));

    // A playback goes on whatever the head type (the send timer would not tick it).
    ASSERT_TRUE(rig.Play(WriteFile("a.52a", PingSpec {}, 3)));
    rig.Player().OpenFileToPlayback();
    EXPECT_EQ(rig.timers.armed, (std::map<int, int> {{kPingTimer, 50}}));
    EXPECT_TRUE(rig.Player().IsPlaying());

    // UDP mode: the datagrams drive the plot, no timer is started.
    rig.doc.Cycle().StartUdpMode();
    rig.Player().OpenFileToPlayback();
    EXPECT_TRUE(rig.timers.armed.empty());
    EXPECT_TRUE(rig.reporter.messages.empty());
}

TEST_F(PlaybackTest, FilesThatCannotBePlayedAreReported)
{
    std::vector<std::uint8_t> short99(99, '5');
    const std::string tooShort = WriteRaw("short.52a", short99);
    const std::string exactly100 = WriteRaw("hundred.52a", std::vector<std::uint8_t>(100, 0));

    EXPECT_FALSE(rig.Play(rig.folder / "notes.txt"));
    EXPECT_FALSE(rig.Play(tooShort));
    EXPECT_FALSE(rig.Play(rig.folder / "missing.52l"));
    EXPECT_EQ(rig.reporter.messages,
        (std::vector<std::string> {"ERROR: Application can not recognize this file type!",
            "File has no data!!!  ", "Error opening file !   "}));
    EXPECT_FALSE(rig.Player().FileDialogOpen());
    EXPECT_EQ(rig.timers.Armed(kPingTimer), 50); // the serial cycle goes on

    EXPECT_TRUE(rig.Play(exactly100));
    EXPECT_EQ(rig.Player().FileStep(), 1);
    rig.Tick(); // nothing to decode: wraps to the start at once
    EXPECT_EQ(rig.Player().Position(), 0);
}

TEST_F(PlaybackTest, FileTypeIsSettledFromTheNameAndTheFirstTag)
{
    ASSERT_TRUE(rig.Play(WriteFile("upper.52L", PingSpec {}, 2, "52L")));
    EXPECT_EQ(rig.Player().FileType(), SonarType::EthernetK52L);
    EXPECT_EQ(state.settings.openFileFilterIndex, 2);

    ASSERT_TRUE(rig.Play(WriteFile("mixed.52l", PingSpec {}, 2, "52A")));
    EXPECT_EQ(rig.Player().FileType(), SonarType::SerialK52A);
    EXPECT_EQ(state.settings.openFileFilterIndex, 1);
}

TEST_F(PlaybackTest, RecordsPerTickFollowTheSpeedAndTheStep)
{
    PingSpec slow;
    slow.step = kStepSlow;
    ASSERT_TRUE(rig.Play(WriteFile("slow.52a", slow, 40)));
    state.settings.playbackSpeed = 0;
    EXPECT_EQ(rig.RecordsInTick(), 1u);
    state.settings.playbackSpeed = 12;
    EXPECT_EQ(rig.RecordsInTick(), 12u);
    state.settings.playbackSpeed = 5;
    EXPECT_EQ(rig.RecordsInTick(), 5u);

    PingSpec fastest;
    fastest.step = kStepFastest;
    ASSERT_TRUE(rig.Play(WriteFile("fastest.52a", fastest, 40)));
    state.settings.playbackSpeed = 12;
    EXPECT_EQ(rig.RecordsInTick(), 2u);
    EXPECT_EQ(rig.ui.viewUpdates > 0 && rig.ui.statusRefreshes > 0 && rig.ui.diagnosticsRefreshes > 0, true);
}

TEST_F(PlaybackTest, ARecordThatChangesThePictureEndsTheTick)
{
    PingSpec polar;
    polar.step = kStepSlow;
    PingSpec sector = polar;
    sector.mode = DisplayMode::Sector;
    sector.width = 60;
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 4; ++i)
        Append(bytes, MakeRecord(polar));
    for (int i = 0; i < 21; ++i)
        Append(bytes, MakeRecord(sector));
    ASSERT_TRUE(rig.Play(WriteRaw("modes.52a", bytes)));
    state.settings.playbackSpeed = 12;

    EXPECT_EQ(rig.RecordsInTick(), 1u); // its train differs from the live one's
    EXPECT_EQ(state.settings.sectorMode, DisplayMode::Polar);
    EXPECT_EQ(rig.RecordsInTick(), 4u); // three polar records, then the sector one
    EXPECT_EQ(state.settings.sectorMode, DisplayMode::Sector);
    EXPECT_FALSE(rig.Acq().redraw);
    EXPECT_EQ(rig.RecordsInTick(), 12u);
}

TEST_F(PlaybackTest, AtTheEndPlaybackGoesOnFromTheStartWithAClearedImage)
{
    ASSERT_TRUE(rig.Play(WriteFile("three.52a", PingSpec {}, 3)));
    state.settings.playbackSpeed = 0;
    rig.Tick();
    rig.Tick();
    EXPECT_EQ(state.ping.pingCount, 2);
    EXPECT_EQ(rig.Player().Position(), 1280);
    EXPECT_EQ(rig.bar.positions, (std::vector<int> {33, 66}));
    state.raster.Set(5, 5, 77);

    rig.Tick();
    EXPECT_EQ(rig.Player().Position(), 0);
    EXPECT_EQ(state.ping.pingCount, 0);
    EXPECT_EQ(state.raster.At(5, 5), 0);
    EXPECT_EQ(rig.bar.positions.back(), 0);
    rig.Tick();
    EXPECT_EQ(state.ping.pingCount, 1);
    EXPECT_EQ(rig.Player().Position(), 640);
}

TEST_F(PlaybackTest, DamagedRecordLengthsAreSkippedOnTheNextTag)
{
    std::vector<std::uint8_t> bytes = MakeRecord(PingSpec {});
    std::vector<std::uint8_t> broken = MakeRecord(PingSpec {});
    broken[4] = 0; // record length 0
    broken[5] = 0;
    Append(bytes, broken);
    Append(bytes, MakeRecord(PingSpec {}));
    Append(bytes, std::vector<std::uint8_t>(90, 0x35)); // a torn tail
    ASSERT_TRUE(rig.Play(WriteRaw("damaged.52a", bytes)));
    state.settings.playbackSpeed = 0;

    std::vector<std::int64_t> positions;
    for (int i = 0; i < 4; ++i) {
        rig.Tick();
        positions.push_back(rig.Player().Position());
    }
    // Good record, broken one (re-synchronised on the third), third, torn
    // tail (too short for a record: back to the start).
    EXPECT_EQ(positions, (std::vector<std::int64_t> {640, 1280, 1920, 0}));
    EXPECT_EQ(state.ping.pingCount, 0);
    rig.Tick();
    EXPECT_EQ(state.ping.pingCount, 1);
}

TEST_F(PlaybackTest, SliderReleasedRe_synchronisesAndItsRightEndMeansTheStart)
{
    ASSERT_TRUE(rig.Play(WriteFile("ten.52a", PingSpec {}, 10)));
    state.settings.playbackSpeed = 0;
    state.raster.Set(3, 3, 9);

    rig.Player().SliderReleased(50); // 64 x 50 = 3200: record 5 starts there
    EXPECT_EQ(state.raster.At(3, 3), 0);
    EXPECT_FALSE(rig.Player().SliderHeld());
    EXPECT_EQ(rig.doc.PlaybackFile().Position(), 3200);

    rig.Player().SliderReleased(51); // inside record 5: the next tag is record 6's
    EXPECT_EQ(rig.doc.PlaybackFile().Position(), 3840);

    rig.Player().SliderReleased(100);
    EXPECT_EQ(rig.doc.PlaybackFile().Position(), 0);
    EXPECT_EQ(rig.Player().Position(), 0);

    // While the operator drags, the tick leaves the slider alone.
    rig.Player().SetSliderHeld(true);
    const std::size_t moves = rig.bar.positions.size();
    rig.Tick();
    EXPECT_EQ(rig.bar.positions.size(), moves);
    EXPECT_EQ(rig.doc.PlaybackFile().Position(), 640);
}

TEST_F(PlaybackTest, RealTimePlayFollowsTheRecordedLoopTimeAndLocksTheSpeed)
{
    EXPECT_FALSE(rig.Player().RealTimePlayEnabled());
    EXPECT_TRUE(rig.Player().StepSpeed(+1));
    EXPECT_EQ(state.settings.playbackSpeed, 7);

    ASSERT_TRUE(rig.Play(WriteFile("timed.52a", PingSpec {}, 10))); // loop time 85 ms
    rig.Tick();
    EXPECT_EQ(rig.timers.Armed(kPingTimer), kPlaybackTickMinMs);
    EXPECT_TRUE(rig.Player().RealTimePlayEnabled());
    EXPECT_FALSE(rig.Player().RealTimePlay());

    rig.Player().ToggleRealTimePlay();
    EXPECT_TRUE(rig.Player().RealTimePlay());
    rig.Tick();
    EXPECT_EQ(rig.timers.Armed(kPingTimer), 85);
    EXPECT_FALSE(rig.Player().StepSpeed(+1));
    EXPECT_EQ(state.settings.playbackSpeed, 7);

    rig.Player().ToggleRealTimePlay();
    for (int i = 0; i < 8; ++i)
        rig.Player().StepSpeed(+1);
    EXPECT_EQ(state.settings.playbackSpeed, 12);
    for (int i = 0; i < 14; ++i)
        rig.Player().StepSpeed(-1);
    EXPECT_EQ(state.settings.playbackSpeed, 0);
    EXPECT_EQ(rig.bar.speeds.back(), 0);
    EXPECT_EQ(rig.bar.speeds[rig.bar.speeds.size() - 15], 12);
}

// The speeds were chosen on a window timer that never fires sooner than
// 10 ms after it is set: no tick follows sooner, at any speed, with
// real-time play or without.
TEST_F(PlaybackTest, TicksFollowEachOtherNoSoonerThanTenMilliseconds)
{
    PingSpec slow;
    slow.step = kStepSlow;
    ASSERT_TRUE(rig.Play(WriteFile("paced.52a", slow, 400)));
    for (int speed = kPlaybackSpeedMin; speed <= kPlaybackSpeedMax; ++speed) {
        state.settings.playbackSpeed = speed;
        EXPECT_EQ(rig.RecordsInTick(), speed == 0 ? 1u : static_cast<std::uint64_t>(speed));
        EXPECT_EQ(rig.timers.Armed(kPingTimer), 10) << "speed " << speed;
    }

    struct Case {
        int recorded; // the records' loop time, ms
        int armed;
    };
    for (const Case c : {Case {85, 85}, Case {10, 10}, Case {4, 10}, Case {0, 10}}) {
        PingSpec timed;
        timed.loopTime = c.recorded;
        ASSERT_TRUE(rig.Play(WriteFile("timed.52a", timed, 10)));
        if (!rig.Player().RealTimePlay())
            rig.Player().ToggleRealTimePlay();
        ASSERT_TRUE(rig.Tick());
        EXPECT_EQ(rig.timers.Armed(kPingTimer), c.armed) << "recorded " << c.recorded;
    }
}

TEST_F(PlaybackTest, HoldStopsTheTicksAndResumingRestartsThem)
{
    ASSERT_TRUE(rig.Play(WriteFile("held.52a", PingSpec {}, 5)));
    rig.doc.Cycle().ToggleHold();
    const std::uint64_t before = rig.Player().RecordsRead();
    rig.Player().PlaybackTick();
    rig.Tick();
    EXPECT_EQ(rig.Player().RecordsRead(), before);
    EXPECT_FALSE(rig.timers.Armed(kPingTimer));

    rig.doc.Cycle().ToggleHold();
    EXPECT_EQ(rig.timers.Armed(kPingTimer), 50);
    EXPECT_EQ(rig.RecordsInTick(), 1u);
}

TEST_F(PlaybackTest, ConnectingOrUdpModeEndsThePlayback)
{
    rig.SaveIni(SonarType::SerialK52A);
    ASSERT_TRUE(rig.Play(WriteFile("end.52a", PingSpec {}, 5)));
    ASSERT_TRUE(rig.Recorder().OpenRecordFile(rig.folder / "copy.52a"));
    rig.doc.Cycle().StartRealTime();
    EXPECT_FALSE(rig.Player().IsPlaying());
    EXPECT_FALSE(rig.doc.PlaybackFile().IsOpen());
    EXPECT_FALSE(rig.doc.IsRecording());
    EXPECT_EQ(rig.ui.bars, ControlBars::RealTime);
    rig.Player().PlaybackTick(); // a stray tick reads nothing
    EXPECT_EQ(rig.Player().RecordsRead(), 0u);

    ASSERT_TRUE(rig.Play(rig.Player().FileName()));
    rig.doc.Cycle().StartUdpMode();
    EXPECT_FALSE(rig.Player().IsPlaying());
    EXPECT_FALSE(rig.doc.PlaybackFile().IsOpen());
}

TEST_F(PlaybackTest, ADroppedDataFileStartsItsPlaybackAndOtherFilesAreIgnored)
{
    const std::string path = WriteFile("dropped.52a", PingSpec {}, 3);
    EXPECT_FALSE(rig.Player().OpenDroppedFile(rig.folder / "picture.png"));
    EXPECT_TRUE(rig.timers.armed.empty());
    EXPECT_TRUE(rig.reporter.messages.empty());

    rig.Acq().held = true;
    EXPECT_TRUE(rig.Player().OpenDroppedFile(path));
    EXPECT_TRUE(rig.dialogs.opens.empty());
    EXPECT_FALSE(rig.Acq().held);
    EXPECT_EQ(rig.ui.title, "Velmaris - Playback File [" + path + "] ");
}

TEST_F(PlaybackTest, ACopyCarriesTheSourceTagTimeStampsAndEchoes)
{
    // An Ethernet-model file played with the serial model selected: the
    // copy keeps the source's tag.
    std::vector<std::uint8_t> source;
    for (int i = 0; i < 6; ++i) {
        PingSpec want;
        want.headPosition = 600 + 3 * i;
        want.echo = static_cast<std::uint8_t>(20 + i);
        want.time = "09:15:0" + std::to_string(i);
        Append(source, MakeRecord(want, "52L"));
    }
    ASSERT_TRUE(rig.Play(WriteRaw("source.52l", source)));
    state.settings.playbackSpeed = 0;
    const std::string copy = rig.folder / "copy.52l";
    rig.dialogs.saveAnswers.push_back(copy);
    rig.Recorder().StartStop();
    ASSERT_TRUE(rig.doc.IsRecording());
    EXPECT_EQ(rig.ui.title, "Velmaris - Copy to File [" + copy + "] ");
    EXPECT_EQ(rig.dialogs.saves.at(0).filterPattern, "*.52L");

    for (int i = 0; i < 6; ++i)
        rig.Tick();
    rig.Recorder().StartStop();
    EXPECT_EQ(rig.ui.title, "Velmaris - Playback File [" + rig.Player().FileName() + "] ");

    std::ifstream in(copy, std::ios::binary);
    const std::vector<std::uint8_t> copied((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(copied.size(), source.size());
    for (std::size_t r = 0; r < 6; ++r) {
        const auto at = [&](const std::vector<std::uint8_t>& v, std::size_t from, std::size_t n) {
            return std::vector<std::uint8_t>(v.begin() + r * 640 + from, v.begin() + r * 640 + from + n);
        };
        SCOPED_TRACE(r);
        EXPECT_EQ(at(copied, 0, 3), at(source, 0, 3)); // tag
        EXPECT_EQ(at(copied, 8, 24), at(source, 8, 24)); // date, time, hundredths
        EXPECT_EQ(at(copied, 93, 2), at(source, 93, 2)); // loop time
        EXPECT_EQ(at(copied, 100, 12), at(source, 100, 12)); // reply header
        EXPECT_EQ(at(copied, 112, 500), at(source, 112, 500)); // echoes
    }
}

TEST_F(PlaybackTest, ThePlaybackFileCannotBeTheRecordFile)
{
    const std::string path = WriteFile("self.52a", PingSpec {}, 4);
    ASSERT_TRUE(rig.Play(path));
    rig.dialogs.saveAnswers.push_back(path);
    rig.Recorder().StartStop();
    // The same file by another spelling of its path.
    rig.dialogs.saveAnswers.push_back(rig.folder / "./self.52a");
    rig.Recorder().StartStop();
    EXPECT_EQ(rig.reporter.messages,
        (std::vector<std::string>(2, "Can't write in this file ...\nThis file is used as playback!   ")));
    EXPECT_FALSE(rig.doc.IsRecording());
    EXPECT_TRUE(rig.Recorder().FileName().empty());
    EXPECT_EQ(std::filesystem::file_size(path), 2560u);
}

} // namespace
} // namespace velmaris
