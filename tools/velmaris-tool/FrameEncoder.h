#pragma once
// Writers of animations, fed one indexed frame at a time so that only a
// frame or two is ever held: an animated GIF with the colour table as its
// one palette, and an H.264 MP4.

#include "image/SonarBitmap.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace velmaris::tool {

enum class AnimationFormat { Gif, Mp4 };

// From the extension of the output name, compared lower-cased: ".gif" or ".mp4".
std::optional<AnimationFormat> AnimationFormatForPath(std::string_view path);

struct AnimationParams {
    std::string path;
    int width = 0;
    int height = 0;
    int fps = 10;
    const ColorTable* palette = nullptr; // entry n is the colour of index n
};

class FrameEncoder {
public:
    virtual ~FrameEncoder() = default;
    // Creates the file; false with `error` set when it cannot.
    virtual bool Open(const AnimationParams& params, std::string* error) = 0;
    // One frame of height rows of width indices; `rows[y]` is row y. The rows
    // are only read during the call.
    virtual bool AddRows(const std::uint8_t* const* rows, std::string* error) = 0;
    // One frame of width x height indices, row by row.
    bool AddFrame(const std::uint8_t* indices, int width, int height, std::string* error);
    // Completes and closes the file.
    virtual bool Finish(std::string* error) = 0;
};

// Sets `error` (when given) to `message` and returns false, for the
// encoders' failure paths.
inline bool Fail(std::string* error, std::string message)
{
    if (error)
        *error = std::move(message);
    return false;
}

std::unique_ptr<FrameEncoder> MakeGifEncoder();
std::unique_ptr<FrameEncoder> MakeMp4Encoder();

} // namespace velmaris::tool
