#pragma once
// Rules of the main frame that do not need a window: the title after a size
// change, which bars each operating mode shows, the Mini Settings Bar
// command's state, and the playback bar's seek and speed arithmetic.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmaris {

// What the title rule reads from the document.
struct TitleState {
    bool hasDocument = false;
    bool playingBack = false;
    std::string playbackPath;
    int udpMode = 0; // `UDP Mode`
    int sonarType = 0; // `Sonar Type`
};

inline constexpr std::string_view kUdpModeTitle = "Velmaris -- UDP Mode";

// "Velmaris - Playback File [path] " (one hyphen, trailing blank).
std::string PlaybackTitle(std::string_view path);
// "Velmaris -- Real Time (K52A)" / "(K52L)"; nothing for another type.
std::optional<std::string> RealTimeTitle(int sonarType);
// Title set after every size change of the main frame: the first condition
// that holds wins; nullopt means the title stays as it is.
std::optional<std::string> FrameTitle(const TitleState& state);

// Operating modes as far as the bars are concerned.
enum class OperatingMode { RealTime, Udp, Playback };

enum class BarChange { Keep, Show, Hide };

struct BarPicture {
    BarChange toolbar;
    BarChange miniSettingsBar;
    BarChange playbackBar;
};

// Bars shown and hidden when a mode is entered.
BarPicture BarsForMode(OperatingMode mode);

struct CommandState {
    bool enabled;
    bool checked;
};

// Mini Settings Bar command: enabled exactly when not playing back, checked
// exactly when the bar is visible.
CommandState MiniSettingsBarState(bool playingBack, bool barVisible);

// Playback bar. The position slider runs 0..100; one slider step is the file
// length / 100 bytes (0 for a file shorter than 100 bytes).
inline constexpr int kPositionSliderMin = 0;
inline constexpr int kPositionSliderMax = 100;
inline constexpr int kPositionSliderTicks = 10;
inline constexpr int kPlaybackSpeedMin = 0;
inline constexpr int kPlaybackSpeedMax = 12;

std::int64_t PlaybackFileStep(std::int64_t fileLength);
// Byte offset to seek to when the slider is released at `position`:
// releasing at (or beyond) the right end starts again from the minimum.
std::int64_t SliderSeekOffset(int position, int sliderMin, int sliderMax, std::int64_t fileStep);
// New `Playback Speed` after a speed spin step, clamped to 0..12; nullopt
// when the step is ignored (real-time play speed on and the current record
// carries a recorded ping interval).
std::optional<int> PlaybackSpeedAfterStep(
    int speed, int delta, bool realTimePlay, std::int64_t recordedInterval);

} // namespace velmaris
