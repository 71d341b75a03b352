#pragma once
// The sonar view is repainted at the display's frame rate, not once per
// ping: any number of requests between two frames give one frame, painted
// one frame interval after the previous one (and never at once, so the
// command a reply released leaves before the frame is painted). Pings are
// still painted into the raster as they come; only the copy on the screen
// waits for its frame.
//
// Times are milliseconds on any steady clock. Plain data, no windows.

#include <optional>

namespace velmaris {

inline constexpr double kDefaultFrameIntervalMs = 1000.0 / 60.0;
inline constexpr double kShortestFrameIntervalMs = 1000.0 / 240.0;
inline constexpr double kLongestFrameIntervalMs = 1000.0 / 24.0;
// The least wait before a frame: what is already due (the next command
// from a 0 ms timer) goes first.
inline constexpr double kFrameLeadMs = 1.0;

class FramePacer {
public:
    explicit FramePacer(double intervalMs = kDefaultFrameIntervalMs) { SetInterval(intervalMs); }

    // Clamped to 24..240 frames a second; anything else (0, NaN) is 60.
    void SetInterval(double intervalMs);
    double Interval() const { return interval_; }
    // The frame rate of a display (Hz), as an interval.
    void SetRefreshRate(double hz) { SetInterval(hz > 0 ? 1000.0 / hz : 0.0); }

    // A new picture is wanted at `nowMs`. Returns the wait in ms before the
    // frame is painted, or nothing when a frame is already on its way (the
    // request joins it).
    std::optional<double> Request(double nowMs);
    // A frame was painted (or could not be, the window being hidden) at
    // `nowMs`: the requests before it are served.
    void Painted(double nowMs);
    // A frame was requested and not painted yet.
    bool Pending() const { return pending_; }

private:
    double interval_ = kDefaultFrameIntervalMs;
    std::optional<double> lastFrame_;
    bool pending_ = false;
};

} // namespace velmaris
