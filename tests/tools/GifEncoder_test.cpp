// The GIF writer's own LZW coder and its changed-rectangle frames, read back
// with giflib: every frame as composed by a decoder must be the frame given,
// whatever the content (noise that is stored, runs, every index changed).
#include "FrameEncoder.h"
#include "GifLzw.h"
#include "support/RecordFixture.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

namespace velmaris::tool {
namespace {

using Frame = std::vector<std::uint8_t>;
using testing::TempFolder;

std::vector<Frame> DecodeFrames(const std::filesystem::path& path, int& loops)
{
    std::vector<Frame> frames;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
        ADD_FAILURE() << "giflib cannot read " << path << ": " << GifErrorString(gif ? gif->Error : error);
        if (gif)
            DGifCloseFile(gif, &error);
        return frames;
    }
    EXPECT_EQ(gif->SColorMap ? gif->SColorMap->ColorCount : 0, 256);
    loops = -1;
    for (int i = 0; i < gif->SavedImages[0].ExtensionBlockCount; ++i) {
        const ExtensionBlock& b = gif->SavedImages[0].ExtensionBlocks[i];
        if (b.Function == CONTINUE_EXT_FUNC_CODE && b.ByteCount == 3)
            loops = b.Bytes[1] | b.Bytes[2] << 8;
    }
    Frame canvas(std::size_t(gif->SWidth) * gif->SHeight, 0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const GifImageDesc& d = image.ImageDesc;
        EXPECT_EQ(d.ColorMap, nullptr) << "one palette";
        GraphicsControlBlock gcb {};
        DGifSavedExtensionToGCB(gif, i, &gcb);
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x) {
                const int index = image.RasterBits[std::size_t(y) * d.Width + x];
                if (index != gcb.TransparentColor)
                    canvas[std::size_t(d.Top + y) * gif->SWidth + d.Left + x] = std::uint8_t(index);
            }
        frames.push_back(canvas);
    }
    DGifCloseFile(gif, &error);
    return frames;
}

TEST(GifEncoder, DecodedFramesAreTheFramesGiven)
{
    std::mt19937 random(7);
    const auto noise = [&](Frame& f, std::size_t from, std::size_t to, int levels) {
        for (std::size_t i = from; i < to; ++i)
            f[i] = std::uint8_t(random() % unsigned(levels));
    };
    ColorTable palette {};
    for (int i = 0; i < kColorTableEntries; ++i)
        palette[std::size_t(i)] = Rgb {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2)};
    struct Case {
        const char* name;
        int width, height;
    };
    TempFolder dir("gif-encoder");
    for (const Case c : {Case {"one pixel", 1, 1}, Case {"odd", 257, 3}, Case {"square", 300, 300},
             Case {"wide", 1000, 40}}) {
        SCOPED_TRACE(c.name);
        const std::size_t n = std::size_t(c.width) * c.height;
        std::vector<Frame> given;
        Frame f(n, 0);
        noise(f, 0, n, 256); // noise that coding cannot shrink: stored
        given.push_back(f);
        given.push_back(f); // unchanged
        for (std::size_t i = n / 3; i < n / 2; ++i) // a band of runs and few levels
            f[i] = std::uint8_t((i / 37) % 5);
        given.push_back(f);
        noise(f, n / 4, n, 256); // a wide change with (nearly) every index: no transparency left
        given.push_back(f);
        f[n - 1] = std::uint8_t(f[n - 1] + 1); // the last pixel alone
        given.push_back(f);
        noise(f, 0, n, 3); // smooth and coded
        given.push_back(f);
        std::fill(f.begin(), f.end(), 9); // one run through every row, longer than the runs noted
        given.push_back(f);
        f[n / 2] = 255; // the index the writer tries first for transparency
        given.push_back(f);

        const auto path = dir / "a.gif";
        const std::unique_ptr<FrameEncoder> encoder = MakeGifEncoder();
        std::string error;
        ASSERT_TRUE(encoder->Open(AnimationParams {path.string(), c.width, c.height, 10, &palette}, &error))
            << error;
        for (const Frame& frame : given)
            ASSERT_TRUE(encoder->AddFrame(frame.data(), c.width, c.height, &error)) << error;
        ASSERT_TRUE(encoder->Finish(&error)) << error;
        int loops = 0;
        const std::vector<Frame> decoded = DecodeFrames(path, loops);
        EXPECT_EQ(loops, 0) << "loops for ever";
        ASSERT_EQ(decoded.size(), given.size());
        for (std::size_t i = 0; i < given.size(); ++i)
            EXPECT_TRUE(decoded[i] == given[i]) << "frame " << i;
    }
}

// Lengths around the points where the code width grows and the table fills,
// in both the coded and the stored way.
TEST(GifEncoder, CodeStreamsEndCleanlyAtEveryWidth)
{
    ColorTable palette {};
    std::mt19937 random(3);
    TempFolder dir("gif-lzw");
    for (const int levels : {2, 256})
        for (const int length :
            {2, 255, 256, 257, 509, 510, 511, 512, 1023, 1024, 3839, 3840, 4096, 200000}) {
            SCOPED_TRACE(std::to_string(levels) + " levels, " + std::to_string(length) + " pixels");
            const int width = std::min(length, 1000); // the longest: stored, coded, stored again
            const int height = length / width;
            Frame f(std::size_t(width) * height);
            for (auto& p : f)
                p = std::uint8_t(random() % unsigned(levels));
            const auto path = dir / "b.gif";
            const std::unique_ptr<FrameEncoder> encoder = MakeGifEncoder();
            std::string error;
            ASSERT_TRUE(encoder->Open(AnimationParams {path.string(), width, height, 10, &palette}, &error));
            ASSERT_TRUE(encoder->AddFrame(f.data(), width, height, &error) && encoder->Finish(&error))
                << error;
            int loops = 0;
            const std::vector<Frame> decoded = DecodeFrames(path, loops);
            ASSERT_EQ(decoded.size(), 1u);
            EXPECT_TRUE(decoded[0] == f);
        }
}

// One rectangle's image data from GifLzw in a one-image GIF, decoded by
// giflib from memory; empty when giflib refuses it.
Frame DecodeImageData(const std::vector<std::uint8_t>& data, int width, int height)
{
    const auto w0 = std::uint8_t(width), w1 = std::uint8_t(width >> 8);
    const auto h0 = std::uint8_t(height), h1 = std::uint8_t(height >> 8);
    std::vector<std::uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', w0, w1, h0, h1, 0xF7, 0, 0};
    gif.resize(gif.size() + 3 * 256); // the colour table, black
    for (const std::uint8_t b : {std::uint8_t(0x2C), std::uint8_t(0), std::uint8_t(0), std::uint8_t(0),
             std::uint8_t(0), w0, w1, h0, h1, std::uint8_t(0)})
        gif.push_back(b);
    gif.insert(gif.end(), data.begin(), data.end());
    gif.push_back(0x3B);
    struct Reader {
        const std::vector<std::uint8_t>* bytes;
        std::size_t at;
    } reader {&gif, 0};
    const InputFunc read = [](GifFileType* f, GifByteType* to, int n) {
        auto* r = static_cast<Reader*>(f->UserData);
        const std::size_t k = std::min(std::size_t(n), r->bytes->size() - r->at);
        std::memcpy(to, r->bytes->data() + r->at, k);
        r->at += k;
        return int(k);
    };
    int error = 0;
    GifFileType* file = DGifOpen(&reader, read, &error);
    Frame out;
    if (file != nullptr && DGifSlurp(file) == GIF_OK && file->ImageCount == 1)
        out.assign(
            file->SavedImages[0].RasterBits, file->SavedImages[0].RasterBits + std::size_t(width) * height);
    if (file != nullptr)
        DGifCloseFile(file, &error);
    return out;
}

// One coder through rectangles of every index width, in an order that
// leaves slots and the stored decision of each to the next: the codes
// start one bit wider than the widest index, and noise of 7-bit indices
// is stored at a byte a pixel.
TEST(GifLzw, RectanglesOfEveryIndexWidthDecodeAfterOneAnother)
{
    struct Case {
        const char* name;
        int levels; // indices 0 .. levels - 1
        bool noise; // otherwise smooth: runs and repeats
        int minimumCodeSize;
    };
    const Case cases[] = {{"7-bit smooth", 128, false, 7}, {"8-bit smooth", 256, false, 8},
        {"7-bit smooth again", 128, false, 7}, {"7-bit noise", 118, true, 7},
        {"7-bit noise, stored on", 118, true, 7}, {"8-bit noise", 256, true, 8}, {"2-bit", 3, true, 2},
        {"5-bit noise", 32, true, 5}, {"6-bit noise", 64, true, 6},
        {"8-bit smooth after noise", 256, false, 8}};
    std::mt19937 random(11);
    GifLzw lzw;
    const int width = 301, height = 120;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Frame f(std::size_t(width) * height);
        for (std::size_t i = 0; i < f.size(); ++i)
            f[i] = c.noise ? std::uint8_t(random() % unsigned(c.levels))
                           : std::uint8_t((i / 7 + i / unsigned(width)) % unsigned(c.levels));
        f[f.size() / 2] = std::uint8_t(c.levels - 1);
        std::vector<std::uint8_t> data;
        lzw.Encode(f.data(), std::size_t(width), width, height, data);
        ASSERT_FALSE(data.empty());
        EXPECT_EQ(data[0], c.minimumCodeSize);
        EXPECT_TRUE(DecodeImageData(data, width, height) == f);
        if (c.noise && c.minimumCodeSize == 7) {
            // A byte a pixel, a clear every 125, and a sub-block length per 255.
            EXPECT_LT(double(data.size()), double(f.size()) * (1 + 1.0 / 125 + 1.0 / 255) + 64);
        }
    }
}

// The worker writes while the caller paints: a failed write still reaches
// the caller, at the latest from Finish().
TEST(GifEncoder, AFullDiskIsReported)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    ColorTable palette {};
    std::mt19937 random(5);
    const std::unique_ptr<FrameEncoder> encoder = MakeGifEncoder();
    std::string error;
    ASSERT_TRUE(encoder->Open(AnimationParams {"/dev/full", 200, 200, 10, &palette}, &error)) << error;
    Frame f(200 * 200);
    bool ok = true;
    for (int i = 0; i < 20 && ok; ++i) {
        for (auto& p : f)
            p = std::uint8_t(random() % 100u);
        ok = encoder->AddFrame(f.data(), 200, 200, &error);
    }
    if (ok)
        ok = encoder->Finish(&error);
    EXPECT_FALSE(ok);
    EXPECT_NE(error.find("cannot write /dev/full"), std::string::npos) << error;
}

} // namespace
} // namespace velmaris::tool
