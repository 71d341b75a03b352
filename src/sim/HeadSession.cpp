#include "sim/HeadSession.h"

#include <algorithm>
#include <cstdio>

namespace velmaris::sim {

namespace {

constexpr const char* kGarbledKinds[] = {"IQX", "JGX", "IGY"};

Clock::duration FromMs(double ms)
{
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(ms));
}

} // namespace

std::string FormatPingEvent(const char* transport, const PingEvent& e)
{
    char line[256];
    std::snprintf(line, sizeof line, "%s ping %llu %.3s pos %4d dir %d range %3d profile %5d%s%s%s%s%s",
        transport, static_cast<unsigned long long>(e.ping), e.info.kind.data(), e.info.position,
        e.info.directionFlag, e.info.rangeMetres, e.info.profileValue, e.info.sideScan ? " sidescan" : "",
        e.dropped ? " DROPPED" : "", e.garbled ? " GARBLED" : "", e.pieces > 1 ? " SPLIT" : "",
        e.closing ? " CLOSE" : "");
    std::string text = line;
    if (e.delayMs > 0.0) {
        std::snprintf(line, sizeof line, " after %.0f ms", e.delayMs);
        text += line;
    }
    return text;
}

HeadSession::HeadSession(HeadModel& model, const FaultPlan& faults, SessionTiming timing)
    : model_(model)
    , faults_(faults)
    , timing_(timing)
{ }

void HeadSession::Reset()
{
    queue_.clear();
    framer_.Clear();
    connectionPings_ = 0;
    busyUntil_ = {};
}

void HeadSession::Receive(std::span<const std::uint8_t> bytes, Clock::time_point now)
{
    for (const std::vector<std::uint8_t>& command : framer_.Feed(bytes))
        Answer(command, now);
}

void HeadSession::Answer(std::span<const std::uint8_t> command, Clock::time_point now)
{
    if (!model_.Answer(command, reply_))
        return;
    ++pings_;
    ++connectionPings_;
    PingEvent event;
    event.ping = pings_;
    event.info = model_.LastPing();

    double delayMs = 0.0;
    if (!timing_.fast) {
        delayMs = HeadModel::PingTimeMs(command);
        if (timing_.serialPacing)
            delayMs += reply_.size() / 11.52; // 11.52 bytes per ms at 115200 baud
    }
    if (FaultPlan::Hits(faults_.delayEvery, pings_))
        delayMs += faults_.delayMs;
    event.delayMs = delayMs;
    // The head pings one command after the other.
    const Clock::time_point ready = std::max(now, busyUntil_) + FromMs(delayMs);
    busyUntil_ = ready;

    if (FaultPlan::Hits(faults_.garbageEvery, pings_)) {
        const char* kind = kGarbledKinds[(pings_ / faults_.garbageEvery) % 3];
        std::copy(kind, kind + 3, reply_.begin());
        event.garbled = true;
    }
    event.closing = FaultPlan::Hits(faults_.closeEvery, connectionPings_);
    event.dropped = FaultPlan::Hits(faults_.dropEvery, pings_);

    if (event.dropped) {
        if (event.closing)
            queue_.push_back({ready, {}, true});
    } else if (FaultPlan::Hits(faults_.splitEvery, pings_)) {
        const std::size_t parts = static_cast<std::size_t>(faults_.splitParts);
        const std::size_t size = reply_.size();
        event.pieces = static_cast<int>(parts);
        for (std::size_t k = 0; k < parts; ++k) {
            const std::size_t begin = size * k / parts, end = size * (k + 1) / parts;
            OutChunk chunk {ready + FromMs(static_cast<double>(k) * faults_.splitPauseMs),
                std::vector<std::uint8_t>(reply_.begin() + static_cast<std::ptrdiff_t>(begin),
                    reply_.begin() + static_cast<std::ptrdiff_t>(end)),
                event.closing && k + 1 == parts};
            queue_.push_back(std::move(chunk));
        }
        busyUntil_ = queue_.back().due;
    } else {
        queue_.push_back({ready, reply_, event.closing});
    }
    if (onPing)
        onPing(event);
}

std::optional<Clock::time_point> HeadSession::NextDue() const
{
    if (queue_.empty())
        return std::nullopt;
    return queue_.front().due;
}

std::optional<OutChunk> HeadSession::PopDue(Clock::time_point now)
{
    if (queue_.empty() || queue_.front().due > now)
        return std::nullopt;
    OutChunk chunk = std::move(queue_.front());
    queue_.pop_front();
    return chunk;
}

} // namespace velmaris::sim
