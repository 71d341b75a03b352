// The animated GIF: a global palette (the colour table), the NETSCAPE2.0
// loop extension, and per frame a graphic control block with the frame's
// delay and only the rectangle that changed since the frame before (the rest
// stays on screen), so a sweep costs the wedge it painted.

#include "FrameEncoder.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>
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

class GifEncoder final : public FrameEncoder {
public:
    ~GifEncoder() override
    {
        if (gif_ != nullptr)
            EGifCloseFile(gif_, nullptr);
    }

    bool Open(const AnimationParams& params, std::string* error) override
    {
        params_ = params;
        // giflib would create the file 0600; an animation is as readable as any file.
        const int fd = ::open(params.path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0)
            return Fail(error, "cannot write " + params.path + ": " + std::strerror(errno));
        int code = 0;
        gif_ = EGifOpenFileHandle(fd, &code);
        if (gif_ == nullptr) {
            ::close(fd);
            return Fail(error, "cannot write " + params.path + ": " + GifErrorString(code));
        }
        std::vector<GifColorType> colors(kColorTableEntries);
        for (int i = 0; i < kColorTableEntries; ++i) {
            const Rgb c = (*params.palette)[std::size_t(i)];
            colors[std::size_t(i)] = GifColorType {c.red, c.green, c.blue};
        }
        ColorMapObject* map = GifMakeMapObject(kColorTableEntries, colors.data());
        EGifSetGifVersion(gif_, true);
        const bool ok = map != nullptr
            && EGifPutScreenDesc(gif_, params.width, params.height, 8, 0, map) == GIF_OK
            && PutLoopExtension();
        if (map != nullptr)
            GifFreeMapObject(map);
        previous_.assign(std::size_t(params.width) * params.height, 0);
        return ok || Fail(error, "cannot write " + params.path + ": " + GifErrorString(gif_->Error));
    }

    bool AddFrame(const std::uint8_t* indices, std::string* error) override
    {
        const Rect r = frames_ == 0 ? Rect {0, 0, params_.width, params_.height}
                                    : ChangedRect(indices, previous_.data(), params_.width, params_.height);
        GraphicsControlBlock gcb {};
        gcb.DisposalMode = DISPOSE_DO_NOT;
        gcb.UserInputFlag = false;
        gcb.DelayTime = NextDelay();
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType extension[4] {};
        EGifGCBToExtension(&gcb, extension);
        bool ok = EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK
            && EGifPutImageDesc(gif_, r.left, r.top, r.width, r.height, false, nullptr) == GIF_OK;
        for (int y = r.top; ok && y < r.top + r.height; ++y) {
            auto* row = const_cast<GifPixelType*>(indices + std::size_t(y) * params_.width + r.left);
            ok = EGifPutLine(gif_, row, r.width) == GIF_OK;
        }
        if (!ok)
            return Fail(error, "cannot write " + params_.path + ": " + GifErrorString(gif_->Error));
        std::copy_n(indices, previous_.size(), previous_.begin());
        ++frames_;
        return true;
    }

    bool Finish(std::string* error) override
    {
        int code = 0;
        const int result = EGifCloseFile(gif_, &code); // frees the handle and closes the file
        gif_ = nullptr;
        return result == GIF_OK || Fail(error, "cannot write " + params_.path + ": " + GifErrorString(code));
    }

private:
    bool PutLoopExtension()
    {
        // Loop for ever.
        static const GifByteType kApplication[] = "NETSCAPE2.0";
        GifByteType loop[3] = {1, 0, 0};
        return EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_OK
            && EGifPutExtensionBlock(gif_, 11, kApplication) == GIF_OK
            && EGifPutExtensionBlock(gif_, 3, loop) == GIF_OK && EGifPutExtensionTrailer(gif_) == GIF_OK;
    }

    // Delays are whole hundredths; rounding the running time keeps the
    // average rate exact (30 fps: 3, 4, 3, 3, 4, 3 ...).
    int NextDelay() const
    {
        const auto at = [this](long long n) { return std::llround(100.0 * double(n) / params_.fps); };
        return static_cast<int>(at(frames_ + 1) - at(frames_));
    }

    AnimationParams params_;
    GifFileType* gif_ = nullptr;
    std::vector<std::uint8_t> previous_;
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
