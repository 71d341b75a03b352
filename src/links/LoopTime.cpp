#include "links/LoopTime.h"

namespace velmaris {

void LoopTime::Measure()
{
    if (!timer_) {
        timer_.emplace(clock_);
        return;
    }
    const double delta = timer_->Elapsed() * 1000.0;
    if (loopTime_ > 0.0)
        loopTime_ = 0.5 * delta + 0.5 * loopTime_;
    else
        loopTime_ = loopTime_ + delta;
}

} // namespace velmaris
