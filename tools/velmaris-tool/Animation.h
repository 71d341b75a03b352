#pragma once
// `velmaris-tool render FILE --animate OUT`: the playback painted frame by
// frame and written as an animated GIF or an MP4.

#include "FrameEncoder.h"

#include <string>

namespace velmaris::tool {

inline constexpr int kDefaultAnimationFps = 10;
inline constexpr int kDefaultPingsPerFrame = 20;
// The painted square's own size, at most this.
inline constexpr int kLargestDefaultWidth = 1000;

struct AnimationRequest {
    std::string input;
    std::string ini; // "" for the default display settings
    std::string output;
    AnimationFormat format = AnimationFormat::Gif;
    int fps = kDefaultAnimationFps;
    int pingsPerFrame = kDefaultPingsPerFrame;
    int width = 0; // 0: the painted square's own size, at most kLargestDefaultWidth
};

// Plays the file and writes the animation, with a progress bar on standard
// error when it is a terminal. Returns the tool's exit code; messages go to
// standard error.
int RunAnimation(const AnimationRequest& request);

} // namespace velmaris::tool
