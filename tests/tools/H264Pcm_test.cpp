// The MP4 writer's own H.264: the bit coding and the escapes of a NAL unit,
// and a short stream written through Mp4File and decoded with libavcodec,
// sample for sample.
#include "H264Pcm.h"
#include "Mp4File.h"

#include "support/RecordFixture.h"

#include <gtest/gtest.h>

#include <random>

#if VELMARIS_HAVE_FFMPEG
#include "tools/Mp4Reader.h"
#endif

namespace velmaris::tool {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(H264Pcm, ExpGolombCodesAndEmulationPrevention)
{
    RbspBits bits;
    bits.Ue(0); // 1
    bits.Ue(1); // 010
    bits.Ue(2); // 011
    bits.Ue(30); // 0000 11111
    bits.Se(-1); // 011
    bits.Se(1); // 010
    bits.Trailing(); // 1 and zeros
    // 1010 0110 0001 1111 0110 1010 0000
    EXPECT_EQ(bits.bytes, (Bytes {0xA6, 0x1F, 0x6A}));

    struct Case {
        Bytes rbsp, nal; // the NAL unit after its header byte
    };
    for (const Case& c : {
             Case {{0, 0, 0}, {0, 0, 3, 0}},
             Case {{0, 0, 1, 0, 0, 2, 0, 0, 3}, {0, 0, 3, 1, 0, 0, 3, 2, 0, 0, 3, 3}},
             Case {{0, 0, 4, 0, 0}, {0, 0, 4, 0, 0}},
             Case {{0, 0, 0, 0, 0}, {0, 0, 3, 0, 0, 3, 0}},
             Case {{7, 0, 0x80, 0, 0, 0xFF, 0}, {7, 0, 0x80, 0, 0, 0xFF, 0}},
         }) {
        Bytes out;
        AppendNal(out, 0x41, c.rbsp);
        Bytes expected {0x41};
        expected.insert(expected.end(), c.nal.begin(), c.nal.end());
        EXPECT_EQ(out, expected);
    }
}

#if VELMARIS_HAVE_FFMPEG
// 40 x 24: three by two macroblocks, the last column and row cropped by
// half. A key frame every third frame. Each step repaints some blocks of
// the picture and marks some as changed: a block repainted but not marked
// must still show the frame before, except in a key frame.
TEST(H264Pcm, DecodesToThePicturesGivenWhereMarked)
{
    constexpr int kW = 40, kH = 24;
    H264Pcm h264(kW, kH, 5, 3);
    ASSERT_EQ(h264.MbWidth(), 3);
    ASSERT_EQ(h264.MbHeight(), 2);
    testing::TempFolder dir("h264pcm");
    const auto path = dir / "a.mp4";
    Mp4File file;
    std::string error;
    ASSERT_TRUE(file.Open(path.string(), Mp4Track {kW, kH, 5, h264.DecoderConfig()}, &error)) << error;

    std::mt19937 random(7);
    // Samples of every value, zeros often, so that the escapes are needed.
    const auto sample = [&] { return std::uint8_t(random() % 3 == 0 ? random() % 4 : random() % 256); };
    const auto repaint = [&](int block) {
        const int x0 = block % 3 * 16, y0 = block / 3 * 16;
        for (int y = y0; y < y0 + 16; ++y)
            for (int x = x0; x < x0 + 16; ++x) {
                h264.Luma(y)[x] = sample();
                h264.Cb(y / 2)[x / 2] = sample();
                h264.Cr(y / 2)[x / 2] = sample();
            }
    };
    // What a decoder shows: the visible part of the picture.
    const auto shown = [&] {
        testing::YuvPicture p;
        for (int y = 0; y < kH; ++y)
            p.y.insert(p.y.end(), h264.Luma(y), h264.Luma(y) + kW);
        for (int y = 0; y < kH / 2; ++y) {
            p.cb.insert(p.cb.end(), h264.Cb(y), h264.Cb(y) + kW / 2);
            p.cr.insert(p.cr.end(), h264.Cr(y), h264.Cr(y) + kW / 2);
        }
        return p;
    };
    struct Step {
        std::vector<int> repainted;
        Bytes marks; // per block
        bool key;
        bool showsPicture; // else the frame before
    };
    const std::vector<Step> steps {
        {{0, 1, 2, 3, 4, 5}, {0, 0, 0, 0, 0, 0}, true, true}, // a key frame needs no marks
        {{1, 5}, {0, 1, 0, 0, 0, 1}, false, true}, {{}, {0, 0, 0, 0, 0, 0}, false, true}, // nothing changed
        {{2}, {0, 0, 0, 0, 0, 0}, true, true}, // the key frame stores the unmarked change
        {{0}, {0, 0, 0, 0, 0, 0}, false, false}, // unmarked: skipped
        {{3, 4}, {1, 0, 0, 1, 1, 0}, false, true}, // and now marked, with block 0
    };
    std::vector<testing::YuvPicture> expected;
    for (const Step& step : steps) {
        for (const int block : step.repainted)
            repaint(block);
        bool key = false;
        const Bytes& frame = h264.Frame(step.marks.data(), &key);
        EXPECT_EQ(key, step.key);
        ASSERT_TRUE(file.AddFrame(frame.data(), frame.size(), key, &error)) << error;
        expected.push_back(step.showsPicture ? shown() : expected.back());
    }
    ASSERT_TRUE(file.Close(&error)) << error;

    const testing::DecodedMp4 mp4 = testing::DecodeMp4(path);
    EXPECT_EQ(mp4.width, kW);
    EXPECT_EQ(mp4.height, kH);
    EXPECT_EQ(mp4.fps, 5.0);
    EXPECT_EQ(mp4.storedFrames, 6);
    EXPECT_EQ(mp4.keyFrames, 2);
    ASSERT_EQ(mp4.pictures.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(mp4.pictures[i] == expected[i]) << "frame " << i;
}
#endif

} // namespace
} // namespace velmaris::tool
