// velmaris-tool render --animate: the GIF read back frame by frame with
// giflib and held against `render` at the same pings; the MP4 decoded back
// with libavcodec where the build has FFmpeg.
#include "image/SonarBitmap.h"
#include "protocol/SonarSettings.h"
#include "sim/SyntheticRecording.h"
#include "support/RecordFixture.h"
#include "tools/ToolRunner.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#if VELMARIS_HAVE_FFMPEG
#include "YuvFrame.h"
#include "tools/Mp4Reader.h"
#endif

namespace velmaris::tool {
namespace {

using namespace velmaris::testing;
using Frame = std::vector<std::uint8_t>;

struct Gif {
    int width = 0, height = 0;
    std::vector<Frame> frames; // each composed over the ones before
    std::vector<int> delays; // hundredths
    std::vector<Rgb> palette;
};

Gif ReadGif(const std::filesystem::path& path)
{
    Gif out;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
        ADD_FAILURE() << "cannot read " << path << ": " << GifErrorString(gif ? gif->Error : error);
        if (gif)
            DGifCloseFile(gif, &error);
        return out;
    }
    out.width = gif->SWidth;
    out.height = gif->SHeight;
    if (gif->SColorMap)
        for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
            const GifColorType c = gif->SColorMap->Colors[i];
            out.palette.push_back(Rgb {c.Red, c.Green, c.Blue});
        }
    Frame canvas(std::size_t(out.width) * out.height, 0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const GifImageDesc& d = image.ImageDesc;
        EXPECT_LE(d.Left + d.Width, out.width);
        EXPECT_LE(d.Top + d.Height, out.height);
        GraphicsControlBlock gcb {};
        DGifSavedExtensionToGCB(gif, i, &gcb);
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x) {
                const int index = image.RasterBits[std::size_t(y) * d.Width + x];
                if (index != gcb.TransparentColor) // transparent: the frame before shows through
                    canvas[std::size_t(d.Top + y) * out.width + d.Left + x] = std::uint8_t(index);
            }
        out.frames.push_back(canvas);
        out.delays.push_back(gcb.DelayTime);
        EXPECT_EQ(gcb.DisposalMode, DISPOSE_DO_NOT);
    }
    DGifCloseFile(gif, &error);
    return out;
}

// `render --raw --crop 0,0,S,S` of the file: the painted square of the raster.
Frame Rendered(const std::filesystem::path& file, int side, const TempFolder& dir)
{
    const auto pgm = dir / "r.pgm";
    const std::string crop = "0,0," + std::to_string(side) + "," + std::to_string(side);
    EXPECT_EQ(
        RunTool("render " + Quote(file.string()) + " --raw --crop " + crop + " --out " + Quote(pgm.string()))
            .exitCode,
        0);
    const std::string bytes = testing::ReadFileText(pgm);
    const std::string header = "P5\n" + std::to_string(side) + " " + std::to_string(side) + "\n255\n";
    EXPECT_EQ(bytes.compare(0, header.size(), header), 0);
    return Frame(bytes.begin() + std::ptrdiff_t(std::min(header.size(), bytes.size())), bytes.end());
}

// A synthetic polar dive and a copy of its first `prefix` records.
struct Dive {
    std::filesystem::path whole, first;
};

Dive WriteDive(const TempFolder& dir, int pings, int prefix)
{
    Dive dive {dir / "dive.52l", dir / "first.52l"};
    sim::SynthOptions options;
    options.pings = pings;
    std::string error;
    EXPECT_TRUE(sim::WriteSyntheticRecording(dive.whole.string(), options, &error)) << error;
    const std::string bytes = testing::ReadFileText(dive.whole);
    std::size_t end = 0;
    for (int i = 0; i < prefix; ++i)
        end += (static_cast<std::uint8_t>(bytes[end + 4]) << 8) | static_cast<std::uint8_t>(bytes[end + 5]);
    std::ofstream(dive.first, std::ios::binary).write(bytes.data(), std::streamsize(end));
    return dive;
}

TEST(AnimateCommand, GifFramesAreThePlaybackAsRenderPaintsIt)
{
    TempFolder dir("tool-animate");
    const Dive dive = WriteDive(dir, 130, 20);
    const auto gifPath = dir / "a.gif";
    const ToolRun run = RunTool(
        "render " + Quote(dive.whole.string()) + " --animate " + Quote(gifPath.string()) + " --fps 30");
    ASSERT_EQ(run.exitCode, 0);

    const Gif gif = ReadGif(gifPath);
    // Zoom 1 paints the top-left 1000 x 1000 pixels: the frame, at its own size.
    EXPECT_EQ(gif.width, 1000);
    EXPECT_EQ(gif.height, 1000);
    ASSERT_EQ(gif.frames.size(), 7u) << "after pings 20, 40 ... 120, and after the last (130)";
    EXPECT_EQ(gif.delays, (std::vector<int> {3, 4, 3, 3, 4, 3, 3})) << "30 frames a second on average";
    const CSonarBitmap colors;
    const ColorTable& table = colors.Table(SonarSettings().colorTable);
    ASSERT_EQ(gif.palette.size(), 256u);
    EXPECT_TRUE(std::equal(gif.palette.begin(), gif.palette.end(), table.begin()))
        << "one palette: the colour table";

    EXPECT_TRUE(gif.frames.front() == Rendered(dive.first, 1000, dir)) << "first frame";
    const Frame whole = Rendered(dive.whole, 1000, dir);
    EXPECT_TRUE(gif.frames.back() == whole) << "last frame";
    EXPECT_NE(gif.frames[5], gif.frames.back()) << "the last ten pings still changed the picture";

    // Scaled down: each frame pixel is the raster pixel at its cell's centre.
    ASSERT_EQ(RunTool("render " + Quote(dive.whole.string()) + " --animate " + Quote(gifPath.string())
                  + " --width 250 --pings-per-frame 1000")
                  .exitCode,
        0);
    const Gif small = ReadGif(gifPath);
    ASSERT_EQ(small.frames.size(), 1u);
    ASSERT_EQ(small.width, 250);
    std::size_t mismatches = 0;
    for (int y = 0; y < 250; ++y)
        for (int x = 0; x < 250; ++x)
            mismatches += small.frames[0][std::size_t(y) * 250 + x]
                != whole[std::size_t(4 * y + 2) * 1000 + 4 * x + 2];
    EXPECT_EQ(mismatches, 0u);
    EXPECT_EQ(small.delays, (std::vector<int> {10}));
}

TEST(AnimateCommand, NothingToAnimateOrABadCommandLineLeavesNoFile)
{
    TempFolder dir("tool-animate-usage");
    auto bad = MakeRecord(PingSpec {}, "52L");
    bad[100] = 'Q';
    WriteBytes(dir / "none.52l", bad);
    WriteBytes(dir / "one.52l", MakeRecord(PingSpec {}, "52L"));
    const std::string one = Quote((dir / "one.52l").string());
    const auto err = dir / "err.txt";
    const auto out = dir / "x.gif";
    const auto mp4 = dir / "x.mp4";
    const auto full = dir / "full.mp4"; // a disk that is full
    std::filesystem::create_symlink("/dev/full", full);
    struct Case {
        std::string args;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {Quote((dir / "none.52l").string()) + " --animate " + Quote(out.string()), 1,
            "holds no ping to animate"},
        {one + " --animate x.avi", 2,
            "the animation format comes from the extension of --animate: gif or mp4"},
        {one + " --animate " + Quote(out.string()) + " --fps 0", 2,
            "--fps takes a whole number from 1 to 100"},
        {one + " --animate " + Quote(out.string()) + " --width 15", 2,
            "--width takes a whole number from 16 to 4000"},
        {one + " --animate " + Quote(out.string()) + " --pings-per-frame x", 2,
            "--pings-per-frame takes a whole"},
        {one + " --animate " + Quote(out.string()) + " --raw", 2,
            "--animate goes without --out, --raw and --crop"},
        {one + " --out y.png --fps 5", 2, "--fps goes with --animate"},
        {one + " --animate " + Quote((dir / "no" / "x.gif").string()), 1, "cannot write"},
        {Quote((dir / "none.52l").string()) + " --animate " + Quote(mp4.string()), 1,
            "holds no ping to animate"},
        {one + " --animate " + Quote((dir / "no" / "x.mp4").string()), 1, "cannot write"},
        {one + " --animate " + Quote(full.string()), 1, "No space left on device"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunTool("render " + c.args, err.string()).exitCode, c.exitCode) << c.args;
        EXPECT_NE(testing::ReadFileText(err).find(c.message), std::string::npos)
            << c.args << "\n"
            << testing::ReadFileText(err);
        EXPECT_FALSE(std::filesystem::exists(out)) << c.args;
        EXPECT_FALSE(std::filesystem::exists(mp4)) << c.args;
    }
}

#if VELMARIS_HAVE_FFMPEG
// The 4:2:0 picture of a frame of colour indices, as the MP4 should hold it.
YuvPicture Expected(const Frame& indices, int side, const ColorTable& table)
{
    YuvPicture out {Frame(indices.size()), Frame(indices.size() / 4), Frame(indices.size() / 4)};
    const YuvConverter convert(table);
    const auto w = std::size_t(side);
    for (std::size_t y = 0; y + 1 < w && indices.size() == w * w; y += 2)
        convert.RowPair(&indices[y * w], &indices[(y + 1) * w], side, &out.y[y * w], &out.y[(y + 1) * w],
            &out.cb[y / 2 * w / 2], &out.cr[y / 2 * w / 2]);
    return out;
}

TEST(AnimateCommand, Mp4FramesAreThePlaybackAsRenderPaintsIt)
{
    TempFolder dir("tool-animate-mp4");
    const Dive dive = WriteDive(dir, 130, 20);
    const auto path = dir / "a.mp4";
    ASSERT_EQ(
        RunTool("render " + Quote(dive.whole.string()) + " --animate " + Quote(path.string()) + " --fps 25")
            .exitCode,
        0);
    const DecodedMp4 mp4 = DecodeMp4(path);
    EXPECT_EQ(mp4.width, 1000);
    EXPECT_EQ(mp4.height, 1000);
    EXPECT_EQ(mp4.fps, 25.0);
    EXPECT_EQ(mp4.storedFrames, 7);
    EXPECT_EQ(mp4.keyFrames, 1);
    ASSERT_EQ(mp4.pictures.size(), 7u) << "every frame decodes";
    const CSonarBitmap colors;
    const ColorTable& table = colors.Table(SonarSettings().colorTable);
    // Changed macroblocks are stored as they are: the painted colours exactly.
    EXPECT_TRUE(mp4.pictures.front() == Expected(Rendered(dive.first, 1000, dir), 1000, table))
        << "first frame";
    const YuvPicture whole = Expected(Rendered(dive.whole, 1000, dir), 1000, table);
    EXPECT_TRUE(mp4.pictures.back() == whole) << "last frame";
    EXPECT_FALSE(mp4.pictures[5] == whole) << "the last ten pings still changed the picture";

    ASSERT_EQ(RunTool("render " + Quote(dive.whole.string()) + " --animate " + Quote(path.string())
                  + " --width 501 --pings-per-frame 50")
                  .exitCode,
        0);
    const DecodedMp4 odd = DecodeMp4(path);
    EXPECT_EQ(odd.width, 500) << "an odd width is taken one less";
    EXPECT_EQ(odd.height, 500);
    EXPECT_EQ(odd.fps, 10.0);
    EXPECT_EQ(odd.pictures.size(), 3u);
}
#endif

// The tool writes MP4 without FFmpeg's libraries, and GDAL's are the chart
// module's: neither writing an MP4 nor starting loads them (the loader names
// each library it opens).
TEST(AnimateCommand, NoCommandLoadsFfmpegAndOnlyAChartGdal)
{
    TempFolder dir("tool-animate-libs");
    const Dive dive = WriteDive(dir, 30, 1);
    for (const std::string& args : {std::string("--version"),
             "render " + Quote(dive.whole.string()) + " --animate " + Quote((dir / "a.mp4").string())}) {
        const auto log = dir / "loader.txt";
        ::setenv("LD_DEBUG", "libs", 1); // the dynamic loader's list on standard error
        const int exitCode = RunTool(args, log.string()).exitCode;
        ::unsetenv("LD_DEBUG");
        EXPECT_EQ(exitCode, 0) << args;
        const std::string loaded = testing::ReadFileText(log);
        EXPECT_NE(loaded.find("libstdc++"), std::string::npos)
            << "the loader's own list: " << loaded.substr(0, 200);
        EXPECT_EQ(loaded.find("libavcodec"), std::string::npos) << args;
        EXPECT_EQ(loaded.find("libavformat"), std::string::npos) << args;
        EXPECT_EQ(loaded.find("libgdal"), std::string::npos) << args;
    }
}

} // namespace
} // namespace velmaris::tool
