#include "image/FramePacer.h"

#include <algorithm>
#include <cmath>

namespace velmaris {

void FramePacer::SetInterval(double intervalMs)
{
    interval_ = std::isfinite(intervalMs) && intervalMs > 0
        ? std::clamp(intervalMs, kShortestFrameIntervalMs, kLongestFrameIntervalMs)
        : kDefaultFrameIntervalMs;
}

std::optional<double> FramePacer::Request(double nowMs)
{
    if (pending_)
        return std::nullopt;
    pending_ = true;
    const double due = lastFrame_ ? *lastFrame_ + interval_ : nowMs;
    return std::clamp(due - nowMs, kFrameLeadMs, std::max(kFrameLeadMs, interval_));
}

void FramePacer::Painted(double nowMs)
{
    pending_ = false;
    lastFrame_ = nowMs;
}

} // namespace velmaris
