// velmaris-tool replay into the station's own UDP listener on loopback, in
// process: the document in "Plot Data from UDP" mode paints the same raster,
// byte for byte, as the document playing the file.
#include "links/qt/CUdpSocket.h"
#include "sim/SyntheticRecording.h"
#include "support/ChildProcess.h"
#include "support/LinkTestSupport.h"
#include "support/PlaybackRig.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace velmaris {
namespace {

using namespace velmaris::testing;

// A document whose UDP listener is the station's real socket, on a free
// port of 127.0.0.1's any-address binding; everything else on fakes.
struct UdpStation {
    UdpStation()
    {
        timers.events = &doc.Events();
        udp.SetEvents(&doc.Events());
        doc.Initialise(DocumentSetup {folder / "Velmaris.INI", folder / "", 14040, 0});
    }
    ~UdpStation()
    {
        udp.SetEvents(nullptr);
        udp.Close();
    }

    ScratchFolder folder {"udp-station"};
    FakeClock clock;
    FakeTimerHost timers;
    FakeSerialLink serial;
    FakeTcpLink tcp;
    CUdpSocket udp;
    RecordingReporter reporter;
    RecordingUi ui;
    CVelmarisDoc doc {ui, CycleLinks {timers, serial, tcp, udp}, reporter, clock};
};

// A sector dive at 20 m, then a polar one at 30 m: a mode change and a range
// change on the way.
std::string WriteDive(const ScratchFolder& folder, int& records)
{
    const std::string path = folder / "dive.52l";
    std::ofstream out(path, std::ios::binary);
    records = 0;
    for (const auto& [mode, range, pings] :
        {std::tuple {sim::SimMode::Sector, 20, 25}, {sim::SimMode::Polar, 30, 70}}) {
        sim::SynthOptions options;
        options.pings = pings;
        options.command.mode = mode;
        options.command.rangeMetres = range;
        const std::string part = folder / "part.52l";
        std::string error;
        EXPECT_TRUE(sim::WriteSyntheticRecording(part, options, &error)) << error;
        std::ifstream in(part, std::ios::binary);
        out << in.rdbuf();
        records += pings;
    }
    return path;
}

bool SameRaster(const ImageRaster& a, const ImageRaster& b)
{
    for (int r = 0; r < ImageRaster::kHeight; ++r)
        if (std::memcmp(a.Row(r), b.Row(r), ImageRaster::kWidth) != 0)
            return false;
    return true;
}

TEST(ReplayIntoStation, PaintsTheRasterThatPlayingTheFilePaints)
{
    if (!std::filesystem::exists(tool::test::ToolPath()))
        GTEST_SKIP() << "velmaris-tool is not built";
    UdpStation station;
    ASSERT_TRUE(station.doc.Cycle().StartUdpMode());
    const int port = station.udp.LocalPort();
    ASSERT_GT(port, 0);

    int records = 0;
    const std::string path = WriteDive(station.folder, records);
    // Playing a file clears the picture after its last record (it starts
    // again from the top), so both stop one record before the end.
    const int sent = records - 1;
    tool::test::ToolProcess replay({"replay", path, "--to", "127.0.0.1:" + std::to_string(port), "--speed",
        "10", "--count", std::to_string(sent)});
    ASSERT_TRUE(replay.Started());
    const SonarState& live = station.doc.State();
    EXPECT_TRUE(test::WaitUntil([&] { return live.ping.pingCount >= sent; }, 20000)) << live.ping.pingCount;
    EXPECT_EQ(replay.Wait(), 0) << replay.ReadAllErrors();
    ASSERT_EQ(live.ping.pingCount, sent);

    PlaybackRig rig;
    ASSERT_TRUE(rig.Play(path));
    rig.state.settings.playbackSpeed = 0; // one record a tick
    for (int i = 0; i < sent; ++i)
        ASSERT_TRUE(rig.Tick());
    ASSERT_EQ(rig.Player().RecordsRead(), std::uint64_t(sent));
    EXPECT_EQ(rig.state.settings.sectorMode, live.settings.sectorMode);
    EXPECT_EQ(rig.state.ping.headPosition, live.ping.headPosition);
    EXPECT_TRUE(SameRaster(live.raster, rig.state.raster));
    int painted = 0;
    for (int y = 0; y < 1000; ++y)
        for (int x = 0; x < 1000; ++x)
            painted += live.raster.At(x, y) != 0;
    EXPECT_GT(painted, 100000) << "the polar sweep is there";
    EXPECT_TRUE(station.reporter.messages.empty());
}

} // namespace
} // namespace velmaris
