// The track beside a recording, through the document: live sentences while
// recording, and a copy's share of its source's track.
#include "station/TrackRecording.h"

#include "support/PlaybackRig.h"
#include "support/RecordFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace velmaris {
namespace {

using namespace velmaris::testing;

LocalTime TrackClock(int& offset)
{
    offset = 60;
    return LocalTime {2026, 12, 9, 18, 44, 32, 170};
}

std::string Text(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TrackRecordingTest : public ::testing::Test {
protected:
    TrackRecordingTest() { rig.doc.Track().SetClock(&TrackClock); }
    TrackRecording& Track() { return rig.doc.Track(); }

    PlaybackRig rig;
};

TEST_F(TrackRecordingTest, LiveSentencesGoBesideTheRecordingWhileItRuns)
{
    const std::string path = rig.folder / "live.52l";
    Track().OnSentence("$GPRMC,before\r\n");
    ASSERT_TRUE(rig.Recorder().OpenRecordFile(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".nmea")) << "no GPS sentence yet: no track";
    Track().OnSentence("$GNRMC,1*00\r\n");
    Track().OnSentence("$HEHDT,2,T\r\n");
    rig.Recorder().StartStop(); // stops
    Track().OnSentence("$GPRMC,after\r\n");
    EXPECT_EQ(Text(path + ".nmea"),
        "2026-12-09T18:44:32.17+01:00\t$GNRMC,1*00\r\n2026-12-09T18:44:32.17+01:00\t$HEHDT,2,T\r\n");
    EXPECT_FALSE(Track().Writer().IsOpen());

    // A new recording into the same file starts a new track.
    ASSERT_TRUE(rig.Recorder().OpenRecordFile(path));
    Track().OnSentence("$GPHDT,3,T\r\n");
    rig.Recorder().StartStop();
    EXPECT_EQ(Text(path + ".nmea"), "2026-12-09T18:44:32.17+01:00\t$GPHDT,3,T\r\n");
    EXPECT_TRUE(rig.reporter.messages.empty());
}

TEST_F(TrackRecordingTest, ACopyTakesTheSourceTrackAroundItsPings)
{
    std::vector<std::uint8_t> source;
    for (int i = 0; i < 6; ++i) {
        PingSpec want;
        want.time = "09:15:0" + std::to_string(i); // hundredths .25
        Append(source, MakeRecord(want, "52L"));
    }
    const std::string sourcePath = rig.folder / "source.52l";
    WriteBytes(sourcePath, source);
    // Fixes from 09:14:50 to 09:15:20, one a second at .50.
    std::string track;
    for (int s = 50; s < 80; ++s)
        track += TrackLine(
            LocalTime {2026, 12, 7, 9, 14 + s / 60, s % 60, 500}, 60, "$GPRMC," + std::to_string(s));
    std::ofstream(sourcePath + ".nmea", std::ios::binary) << track;

    ASSERT_TRUE(rig.Play(sourcePath));
    rig.state.settings.playbackSpeed = 0;
    const std::string copy = rig.folder / "copy.52l";
    rig.dialogs.saveAnswers.push_back(copy);
    rig.Recorder().StartStop();
    ASSERT_TRUE(rig.doc.IsRecording());
    Track().OnSentence("$GPRMC,live\r\n"); // a live receiver has no place in a copy
    for (int i = 0; i < 3; ++i) // 09:15:00.25 .. 09:15:02.25
        rig.Tick();
    rig.Recorder().StartStop();

    // 09:14:58.25 .. 09:15:04.25: the fixes at 58.50 .. 04.50 less the last.
    std::string want;
    for (int s = 58; s <= 63; ++s)
        want += TrackLine(
            LocalTime {2026, 12, 7, 9, 14 + s / 60, s % 60, 500}, 60, "$GPRMC," + std::to_string(s));
    EXPECT_EQ(Text(copy + ".nmea"), want);

    // A source without a track gives a copy without one.
    std::filesystem::remove(sourcePath + ".nmea");
    const std::string second = rig.folder / "second.52l";
    rig.dialogs.saveAnswers.push_back(second);
    rig.Recorder().StartStop();
    ASSERT_TRUE(rig.doc.IsRecording());
    rig.Tick();
    rig.Recorder().StartStop();
    EXPECT_FALSE(std::filesystem::exists(second + ".nmea"));
}

} // namespace
} // namespace velmaris
