#pragma once
// What playback asks of the main frame's playback bar: the position slider
// (0 to 100, a tick every 10), the speed indicator and the speed spin (0 to
// 12). The bar reports back through Playback: SetSliderHeld while the
// operator holds the slider (dragging its thumb or pressing on its track),
// SliderReleased when it is let go, StepSpeed for each spin step. The Qt
// main frame implements it; tests record the calls.
//
// User-interface thread only.

#include <cstdint>
#include <optional>

namespace velmaris {

struct PlaybackBarSetup {
    int speed = 6; // `Playback Speed`: spin and indicator position
    std::int64_t fileLength = 0; // bytes of the playback file
    std::int64_t fileStep = 0; // bytes per slider step: file length / 100
};

class PlaybackBarUi {
public:
    virtual ~PlaybackBarUi() = default;
    // Right after a playback file was opened: the playback bar in place of
    // the mini settings bar, the settings panel hidden (`SettingsDlgVisible`
    // kept); slider range 0..100 with a tick every 10, speed spin and
    // indicator 0..12 at `setup.speed`.
    virtual void ShowPlaybackBar(const PlaybackBarSetup& setup) = 0;
    // Moves the position slider (0..100) with a redraw.
    virtual void SetPositionSlider(int position) = 0;
    // The speed spin and the speed indicator show `speed`.
    virtual void SetSpeed(int speed) = 0;
};

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
