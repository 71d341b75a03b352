// The animated GIF, written here with its own LZW coder (GifLzw): a global
// palette (the colour table), the NETSCAPE2.0 loop extension, and per frame a
// graphic control block with the frame's delay and only the rectangle that
// changed since the frame before (the rest stays on screen), its unchanged
// pixels transparent, so a sweep costs the wedge it painted. The caller's
// thread finds the rectangles; a worker thread codes and writes them two at
// a time, in order, while the next two are painted (one wake-up a pair).
// The writer holds the frame before and two rectangles.

#include "FrameEncoder.h"
#include "FrameWorker.h"
#include "GifLzw.h"

#include "image/PictureFormat.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace velmaris::tool {

namespace {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The first x in [from, to) where a and b differ; `to` when none does.
int FirstDifference(const std::uint8_t* a, const std::uint8_t* b, int from, int to)
{
    int x = from;
#if defined(__SSE2__) || defined(_M_X64)
    const auto same = [&](int at) {
        return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + at)),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + at)));
    };
    for (; x + 64 <= to; x += 64) // 64 bytes a test, then 16 at a time
        if (_mm_movemask_epi8(_mm_and_si128(
                _mm_and_si128(same(x), same(x + 16)), _mm_and_si128(same(x + 32), same(x + 48))))
            != 0xFFFF)
            break;
    for (; x + 16 <= to; x += 16)
        if (const int equal = _mm_movemask_epi8(same(x)); equal != 0xFFFF)
            return x + std::countr_one(unsigned(equal));
#endif
    while (x < to && a[x] == b[x])
        ++x;
    return x;
}

// The last x in [from, to) where a and b differ; from - 1 when none does.
int LastDifference(const std::uint8_t* a, const std::uint8_t* b, int from, int to)
{
    int x = to;
#if defined(__SSE2__) || defined(_M_X64)
    const auto same = [&](int at) {
        return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + at)),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + at)));
    };
    for (; x - 64 >= from; x -= 64)
        if (_mm_movemask_epi8(_mm_and_si128(
                _mm_and_si128(same(x - 64), same(x - 48)), _mm_and_si128(same(x - 32), same(x - 16))))
            != 0xFFFF)
            break;
    for (; x - 16 >= from; x -= 16)
        if (const int equal = _mm_movemask_epi8(same(x - 16)); equal != 0xFFFF)
            return x - 1 - std::countl_one(std::uint16_t(equal));
#endif
    while (x > from && a[x - 1] == b[x - 1])
        --x;
    return x - 1;
}

// The smallest rectangle holding every pixel of `rows` that differs from
// `before` (rows w bytes apart); 1 x 1 at the origin when none does (a frame
// must still carry its delay).
Rect ChangedRect(const std::uint8_t* const* rows, const std::uint8_t* before, int w, int h)
{
    int top = -1, bottom = -1, left = w, right = -1;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* a = rows[y];
        const std::uint8_t* b = before + std::size_t(y) * w;
        if (std::memcmp(a, b, std::size_t(w)) == 0) // the library's widest vectors
            continue;
        if (top < 0)
            top = y;
        bottom = y;
        // Only what lies outside the columns found so far can widen them.
        left = FirstDifference(a, b, 0, left);
        right = std::max(right, LastDifference(a, b, right + 1, w));
    }
    if (top < 0)
        return Rect {0, 0, 1, 1};
    return Rect {left, top, right - left + 1, bottom - top + 1};
}

// out[x] = a[x] where it differs from b[x], else t; returns true when some
// a[x] that differs from b[x] is t itself.
bool MarkRow(const std::uint8_t* a, const std::uint8_t* b, int n, std::uint8_t t, std::uint8_t* out)
{
    int x = 0;
    bool clash = false;
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i vt = _mm_set1_epi8(static_cast<char>(t));
    __m128i clashes = _mm_setzero_si128();
    for (; x + 16 <= n; x += 16) {
        const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x));
        const __m128i same = _mm_cmpeq_epi8(va, _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x),
            _mm_or_si128(_mm_and_si128(same, vt), _mm_andnot_si128(same, va)));
        clashes = _mm_or_si128(clashes, _mm_andnot_si128(same, _mm_cmpeq_epi8(va, vt)));
    }
    clash = _mm_movemask_epi8(clashes) != 0;
#endif
    for (; x < n; ++x) {
        const bool same = a[x] == b[x];
        out[x] = same ? t : a[x];
        clash = clash || (!same && a[x] == t);
    }
    return clash;
}

// Grows v to at least n bytes; never shrinks it, so that a frame's rectangle
// does not clear the bytes the next one overwrites.
void Reserve(std::vector<std::uint8_t>& v, std::size_t n)
{
    if (v.size() < n)
        v.resize(n);
}

// Little-endian 16-bit field.
void Put16(std::vector<std::uint8_t>& out, int v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

class GifEncoder final : public FrameEncoder {
    // A frame for the worker: its blocks before the data, then the data
    // appended; the rectangle, and its pixels as coded.
    struct Pending {
        std::vector<std::uint8_t> bytes;
        std::vector<std::uint8_t> pixels;
        Rect rect;
    };

public:
    ~GifEncoder() override
    {
        worker_.reset(); // before the buffers it codes from
        if (file_ != nullptr)
            std::fclose(file_);
    }

    bool Open(const AnimationParams& params, std::string* error) override
    {
        params_ = params;
        if (params.width < 1 || params.height < 1 || params.width > 65535 || params.height > 65535)
            return Fail(
                error, "cannot write " + params.path + ": a GIF frame is 1 to 65535 pixels wide and high");
        file_ = std::fopen(params.path.c_str(), "wb");
        if (file_ == nullptr)
            return Fail(error, "cannot write " + params.path + ": " + std::strerror(errno));
        // Header, screen (global table of 256 entries, 8 bits of colour resolution).
        const char kHeader[] = "GIF89a";
        out_.assign(kHeader, kHeader + 6);
        Put16(out_, params.width);
        Put16(out_, params.height);
        out_.insert(out_.end(), {0xF7, 0, 0});
        for (int i = 0; i < kColorTableEntries; ++i) {
            const Rgb c = (*params.palette)[std::size_t(i)];
            out_.insert(out_.end(), {c.red, c.green, c.blue});
        }
        // Loop for ever.
        const char kLoop[] = "\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00";
        out_.insert(out_.end(), kLoop, kLoop + sizeof kLoop); // the terminating NUL ends the block
        previous_.assign(std::size_t(params.width) * params.height, 0);
        if (!Write(out_, error))
            return false;
        worker_ = std::make_unique<FrameWorker>(); // writes from now on, until Finish
        return true;
    }

    // The rectangle and its marks are worked out here; each pair of frames
    // goes to the worker once both are ready.
    bool AddRows(const std::uint8_t* const* rows, std::string* error) override
    {
        Pending& job = pending_[frames_ % 2];
        if (frames_ % 2 == 0 && frames_ > 0) {
            // The pair before is coded and written (nearly always by now).
            if (std::string failure = worker_->Drain(); !failure.empty())
                return Fail(error, std::move(failure));
        }
        std::vector<std::uint8_t>& marked = job.pixels;
        const int w = params_.width;
        const Rect r = frames_ == 0 ? Rect {0, 0, w, params_.height}
                                    : ChangedRect(rows, previous_.data(), w, params_.height);
        const int transparent = frames_ == 0 ? -1 : MarkUnchanged(rows, r, marked);
        if (transparent < 0) { // the rectangle as it is
            Reserve(marked, std::size_t(r.width) * r.height);
            for (int y = 0; y < r.height; ++y)
                std::copy_n(rows[r.top + y] + r.left, r.width, marked.data() + std::size_t(y) * r.width);
            Remember(rows, r);
        }
        // Graphic control: leave the frame in place, the delay, the transparent index.
        std::vector<std::uint8_t>& out = job.bytes;
        out.clear();
        out.insert(out.end(), {0x21, 0xF9, 4, std::uint8_t(transparent < 0 ? 0x04 : 0x05)});
        Put16(out, NextDelay());
        out.insert(out.end(), {std::uint8_t(std::max(transparent, 0)), 0});
        // Image descriptor without a local table, then the data.
        out.push_back(0x2C);
        Put16(out, r.left);
        Put16(out, r.top);
        Put16(out, r.width);
        Put16(out, r.height);
        out.push_back(0);
        job.rect = r;
        ++frames_;
        return frames_ % 2 != 0 || HandOver(2, error);
    }

    bool Finish(std::string* error) override
    {
        // The last frame when it has no pair, then the trailer once the
        // worker has written every frame.
        bool ok = frames_ % 2 == 0 || HandOver(1, error);
        if (std::string failure = worker_->Drain(); ok && !failure.empty())
            ok = Fail(error, std::move(failure));
        worker_.reset();
        out_.assign(1, 0x3B);
        ok = ok && Write(out_, error);
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        if (ok && !closed)
            ok = Fail(error, "cannot write " + params_.path + ": " + std::strerror(errno));
        return ok;
    }

private:
    // The rectangle into `marked` with every pixel that did not change set to
    // an index that no changed pixel has, shown as transparent: the frame
    // before stays visible there, and long runs of one index code fast and
    // small. The frame before takes the new pixels. Returns the index, or -1
    // (`marked` not written) when the changed pixels use every index.
    int MarkUnchanged(const std::uint8_t* const* rows, const Rect& r, std::vector<std::uint8_t>& marked)
    {
        // The colour tables fill the low indices (the raster's stay below
        // 118): 127 is nearly always free, is checked in the same pass, and
        // keeps the indices to 7 bits, so the codes start 8 bits wide.
        constexpr std::uint8_t kLikely = 127;
        Reserve(marked, std::size_t(r.width) * r.height);
        std::uint8_t* out = marked.data();
        bool clash = false;
        for (int y = r.top; y < r.top + r.height; ++y, out += r.width)
            clash |= MarkRow(rows[y] + r.left, previous_.data() + std::size_t(y) * params_.width + r.left,
                r.width, kLikely, out);
        if (!clash) {
            Remember(rows, r);
            return kLikely;
        }
        std::array<bool, kColorTableEntries> used {};
        for (int y = r.top; y < r.top + r.height; ++y) {
            const std::uint8_t* a = rows[y] + r.left;
            const std::uint8_t* b = previous_.data() + std::size_t(y) * params_.width + r.left;
            for (int x = 0; x < r.width; ++x)
                if (a[x] != b[x])
                    used[a[x]] = true;
        }
        const auto free = std::find(used.begin(), used.end(), false);
        if (free == used.end())
            return -1;
        const auto t = static_cast<std::uint8_t>(free - used.begin());
        out = marked.data();
        for (int y = r.top; y < r.top + r.height; ++y, out += r.width)
            MarkRow(rows[y] + r.left, previous_.data() + std::size_t(y) * params_.width + r.left, r.width, t,
                out);
        Remember(rows, r);
        return t;
    }

    // The frame before takes the rectangle's new pixels.
    void Remember(const std::uint8_t* const* rows, const Rect& r)
    {
        for (int y = r.top; y < r.top + r.height; ++y)
            std::copy_n(
                rows[y] + r.left, r.width, previous_.data() + std::size_t(y) * params_.width + r.left);
    }

    // Writes `bytes` whole.
    bool Write(const std::vector<std::uint8_t>& bytes, std::string* error)
    {
        const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
        return ok || Fail(error, "cannot write " + params_.path + ": " + std::strerror(errno));
    }

    // Hands the first `count` frames of pending_ to the worker, which codes
    // and writes them in order; false when an earlier write failed.
    bool HandOver(int count, std::string* error)
    {
        std::string failure = worker_->Submit([this, count]() -> std::string {
            for (int i = 0; i < count; ++i) {
                Pending& p = pending_[std::size_t(i)];
                lzw_.Encode(p.pixels.data(), std::size_t(p.rect.width), p.rect.width, p.rect.height, p.bytes);
                if (std::fwrite(p.bytes.data(), 1, p.bytes.size(), file_) != p.bytes.size())
                    return "cannot write " + params_.path + ": " + std::strerror(errno);
            }
            return {};
        });
        return failure.empty() || Fail(error, std::move(failure));
    }

    // Delays are whole hundredths; rounding the running time keeps the
    // average rate exact (30 fps: 3, 4, 3, 3, 4, 3 ...).
    int NextDelay() const
    {
        const auto at = [this](long long n) { return std::llround(100.0 * double(n) / params_.fps); };
        return static_cast<int>(at(frames_ + 1) - at(frames_));
    }

    AnimationParams params_;
    std::FILE* file_ = nullptr;
    std::vector<std::uint8_t> out_; // the header and the trailer
    std::vector<std::uint8_t> previous_;
    std::array<Pending, 2> pending_; // frames go to them in turn
    GifLzw lzw_; // the worker's: one coder sees the frames in order
    std::unique_ptr<FrameWorker> worker_;
    long long frames_ = 0;
};

} // namespace

std::optional<AnimationFormat> AnimationFormatForPath(std::string_view path)
{
    const std::string ext = LowerExtension(path);
    if (ext == "gif")
        return AnimationFormat::Gif;
    if (ext == "mp4")
        return AnimationFormat::Mp4;
    return std::nullopt;
}

bool FrameEncoder::AddFrame(const std::uint8_t* indices, int width, int height, std::string* error)
{
    std::vector<const std::uint8_t*> rows(std::size_t(std::max(height, 0)));
    for (int y = 0; y < height; ++y)
        rows[std::size_t(y)] = indices + std::size_t(y) * std::size_t(width);
    return AddRows(rows.data(), error);
}

std::unique_ptr<FrameEncoder> MakeGifEncoder()
{
    return std::make_unique<GifEncoder>();
}

} // namespace velmaris::tool
