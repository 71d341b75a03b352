// The MP4 animation: H.264 that stores each changed 16 x 16 macroblock as
// it is and skips the rest (H264Pcm), in an MP4 file of its own (Mp4File).
// Each indexed frame is converted from its palette only in the macroblocks
// that changed, so a sweep costs about the wedge it painted, and the video
// shows the painted colours exactly (in 4:2:0). No library: the tool loads
// nothing more for an MP4. The writer holds the indices of the frame before,
// the picture and one coded frame.

#include "FrameEncoder.h"
#include "H264Pcm.h"
#include "Mp4File.h"
#include "YuvFrame.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace velmaris::tool {

namespace {

constexpr int kMacroblock = H264Pcm::kMacroblock;
// Seconds of video between key frames (where a player can start).
constexpr int kKeySeconds = 10;

// Whether the 16 bytes at a and b are the same.
bool Same16(const std::uint8_t* a, const std::uint8_t* b)
{
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(va, vb)) == 0xFFFF;
#else
    return std::memcmp(a, b, 16) == 0;
#endif
}

class Mp4Encoder final : public FrameEncoder {
public:
    bool Open(const AnimationParams& params, std::string* error) override
    {
        params_ = params;
        if (params.width % 2 != 0 || params.height % 2 != 0)
            return Fail(
                error, "cannot write " + params.path + ": an MP4 frame needs an even width and height");
        h264_.emplace(params.width, params.height, params.fps, kKeySeconds * params.fps);
        if (!file_.Open(params.path,
                Mp4Track {params.width, params.height, params.fps, h264_->DecoderConfig()}, error))
            return false;
        yuv_.emplace(*params.palette);
        previous_.assign(std::size_t(params.width) * params.height, 0);
        changed_.assign(std::size_t(h264_->MbWidth()) * h264_->MbHeight(), 0);
        return true;
    }

    bool AddRows(const std::uint8_t* const* rows, std::string* error) override
    {
        std::fill(changed_.begin(), changed_.end(), std::uint8_t(0));
        const auto w = std::size_t(params_.width);
        for (int y = 0; y < params_.height; y += 2) {
            std::uint8_t* before = previous_.data() + std::size_t(y) * w;
            if (first_) {
                ConvertSpan(rows, y, 0, params_.width);
                std::copy_n(rows[y], w, before);
                std::copy_n(rows[y + 1], w, before + w);
            } else if (std::memcmp(rows[y], before, w) != 0 || std::memcmp(rows[y + 1], before + w, w) != 0)
                ConvertChangedBlocks(rows, y);
        }
        first_ = false;
        bool key = false;
        const std::vector<std::uint8_t>& frame = h264_->Frame(changed_.data(), &key);
        return file_.AddFrame(frame.data(), frame.size(), key, error);
    }

    bool Finish(std::string* error) override { return file_.Close(error); }

private:
    // Columns [from, to) of the row pair y, y + 1 into the picture.
    void ConvertSpan(const std::uint8_t* const* rows, int y, int from, int to)
    {
        H264Pcm& h = *h264_;
        yuv_->RowPair(rows[y] + from, rows[y + 1] + from, to - from, h.Luma(y) + from, h.Luma(y + 1) + from,
            h.Cb(y / 2) + from / 2, h.Cr(y / 2) + from / 2);
    }

    // Converts and keeps each macroblock-wide piece of the row pair y that
    // differs from the frame before, and marks its macroblock changed.
    void ConvertChangedBlocks(const std::uint8_t* const* rows, int y)
    {
        const auto w = std::size_t(params_.width);
        std::uint8_t* top = previous_.data() + std::size_t(y) * w;
        std::uint8_t* bottom = top + w;
        std::uint8_t* marks = changed_.data() + std::size_t(y / kMacroblock) * h264_->MbWidth();
        for (int x = 0; x < params_.width; x += kMacroblock) {
            const int n = std::min(kMacroblock, params_.width - x);
            const bool same = n == kMacroblock
                ? Same16(rows[y] + x, top + x) && Same16(rows[y + 1] + x, bottom + x)
                : std::memcmp(rows[y] + x, top + x, std::size_t(n)) == 0
                    && std::memcmp(rows[y + 1] + x, bottom + x, std::size_t(n)) == 0;
            if (same)
                continue;
            ConvertSpan(rows, y, x, x + n);
            std::copy_n(rows[y] + x, n, top + x);
            std::copy_n(rows[y + 1] + x, n, bottom + x);
            marks[x / kMacroblock] = 1;
        }
    }

    AnimationParams params_;
    std::optional<H264Pcm> h264_;
    Mp4File file_;
    std::optional<YuvConverter> yuv_;
    std::vector<std::uint8_t> previous_; // the indices of the frame before
    std::vector<std::uint8_t> changed_; // per macroblock, row by row: 1 where this frame differs
    bool first_ = true;
};

} // namespace

std::unique_ptr<FrameEncoder> MakeMp4Encoder()
{
    return std::make_unique<Mp4Encoder>();
}

} // namespace velmaris::tool
