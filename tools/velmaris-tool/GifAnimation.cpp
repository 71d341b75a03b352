// The animated GIF, written here with its own LZW coder (GifLzw): a global
// palette (the colour table), the NETSCAPE2.0 loop extension, and per frame a
// graphic control block with the frame's delay and only the rectangle that
// changed since the frame before (the rest stays on screen), its unchanged
// pixels transparent, so a sweep costs the wedge it painted. The file is
// written as each frame is coded; the writer holds the frame before and the
// rectangle.

#include "FrameEncoder.h"
#include "GifLzw.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace velmaris::tool {

namespace {

bool Fail(std::string* error, std::string message)
{
    if (error)
        *error = std::move(message);
    return false;
}

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The smallest rectangle holding every pixel that differs; 1 x 1 at the
// origin when none does (a frame must still carry its delay).
Rect ChangedRect(const std::uint8_t* now, const std::uint8_t* before, int w, int h)
{
    int top = -1, bottom = -1, left = w, right = -1;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* a = now + std::size_t(y) * w;
        const std::uint8_t* b = before + std::size_t(y) * w;
        if (std::memcmp(a, b, std::size_t(w)) == 0)
            continue;
        if (top < 0)
            top = y;
        bottom = y;
        int x0 = 0;
        while (a[x0] == b[x0])
            ++x0;
        int x1 = w - 1;
        while (a[x1] == b[x1])
            --x1;
        left = std::min(left, x0);
        right = std::max(right, x1);
    }
    if (top < 0)
        return Rect {0, 0, 1, 1};
    return Rect {left, top, right - left + 1, bottom - top + 1};
}

// Little-endian 16-bit field.
void Put16(std::vector<std::uint8_t>& out, int v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

class GifEncoder final : public FrameEncoder {
public:
    ~GifEncoder() override
    {
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
        return Flush(error);
    }

    bool AddFrame(const std::uint8_t* indices, std::string* error) override
    {
        const int w = params_.width;
        const Rect r = frames_ == 0 ? Rect {0, 0, w, params_.height}
                                    : ChangedRect(indices, previous_.data(), w, params_.height);
        const int transparent = frames_ == 0 ? -1 : MarkUnchanged(indices, r);
        // Graphic control: leave the frame in place, the delay, the transparent index.
        const int delay = NextDelay();
        out_.insert(out_.end(), {0x21, 0xF9, 4, std::uint8_t(transparent < 0 ? 0x04 : 0x05)});
        Put16(out_, delay);
        out_.insert(out_.end(), {std::uint8_t(std::max(transparent, 0)), 0});
        // Image descriptor without a local table, then the data.
        out_.push_back(0x2C);
        Put16(out_, r.left);
        Put16(out_, r.top);
        Put16(out_, r.width);
        Put16(out_, r.height);
        out_.push_back(0);
        if (transparent >= 0)
            lzw_.Encode(marked_.data(), std::size_t(r.width), r.width, r.height, out_);
        else
            lzw_.Encode(indices + std::size_t(r.top) * w + r.left, std::size_t(w), r.width, r.height, out_);
        for (int y = r.top; y < r.top + r.height; ++y) {
            const std::size_t at = std::size_t(y) * w + r.left;
            std::copy_n(indices + at, r.width, previous_.begin() + std::ptrdiff_t(at));
        }
        ++frames_;
        return Flush(error);
    }

    bool Finish(std::string* error) override
    {
        out_.push_back(0x3B);
        bool ok = Flush(error);
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        if (ok && !closed)
            ok = Fail(error, "cannot write " + params_.path + ": " + std::strerror(errno));
        return ok;
    }

private:
    // The rectangle into marked_ with every pixel that did not change set to
    // an index that no changed pixel has, shown as transparent: the frame
    // before stays visible there, and long runs of one index code fast and
    // small. -1 (nothing marked) when the changed pixels use every index.
    int MarkUnchanged(const std::uint8_t* indices, const Rect& r)
    {
        const int w = params_.width;
        std::array<bool, kColorTableEntries> used {};
        for (int y = r.top; y < r.top + r.height; ++y) {
            const std::uint8_t* a = indices + std::size_t(y) * w + r.left;
            const std::uint8_t* b = previous_.data() + std::size_t(y) * w + r.left;
            for (int x = 0; x < r.width; ++x)
                if (a[x] != b[x])
                    used[a[x]] = true;
        }
        const auto free = std::find(used.begin(), used.end(), false);
        if (free == used.end())
            return -1;
        const auto t = static_cast<std::uint8_t>(free - used.begin());
        marked_.resize(std::size_t(r.width) * r.height);
        std::uint8_t* out = marked_.data();
        for (int y = r.top; y < r.top + r.height; ++y) {
            const std::uint8_t* a = indices + std::size_t(y) * w + r.left;
            const std::uint8_t* b = previous_.data() + std::size_t(y) * w + r.left;
            for (int x = 0; x < r.width; ++x)
                *out++ = a[x] == b[x] ? t : a[x];
        }
        return t;
    }

    bool Flush(std::string* error)
    {
        const bool ok = std::fwrite(out_.data(), 1, out_.size(), file_) == out_.size();
        out_.clear();
        return ok || Fail(error, "cannot write " + params_.path + ": " + std::strerror(errno));
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
    GifLzw lzw_;
    std::vector<std::uint8_t> out_; // bytes not yet written
    std::vector<std::uint8_t> previous_;
    std::vector<std::uint8_t> marked_; // the changed rectangle as written
    long long frames_ = 0;
};

} // namespace

std::optional<AnimationFormat> AnimationFormatForPath(std::string_view path)
{
    if (path.size() < 4)
        return std::nullopt;
    std::string ext(path.substr(path.size() - 4));
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".gif")
        return AnimationFormat::Gif;
    if (ext == ".mp4")
        return AnimationFormat::Mp4;
    return std::nullopt;
}

std::unique_ptr<FrameEncoder> MakeGifEncoder()
{
    return std::make_unique<GifEncoder>();
}

} // namespace velmaris::tool
