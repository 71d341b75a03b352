#include "sim/SocketIo.h"

#include <algorithm>

namespace velmaris::sim {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept
{
    if (this != &other)
        Reset(other.Release());
    return *this;
}

Descriptor UniqueFd::Release()
{
    const Descriptor fd = fd_;
    fd_ = kNoDescriptor;
    return fd;
}

int PollTimeoutMs(std::optional<Clock::time_point> due, Clock::time_point now, int capMs)
{
    if (!due)
        return capMs;
    if (*due <= now)
        return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(*due - now).count();
    return static_cast<int>(std::min<long long>(ms, capMs));
}

} // namespace velmaris::sim
