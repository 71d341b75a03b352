#include "links/SerialExchange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

namespace velmaris {
namespace {

// Each reading advances one microsecond.
class MicrosecondClock final : public Clock {
public:
    std::int64_t Ticks() const override { return ++now; }
    std::int64_t TicksPerSecond() const override { return 1'000'000; }
    mutable std::int64_t now = 0;
};

// Records every port operation with the clock reading at the time.
class RecordingPort final : public SerialPortIo {
public:
    explicit RecordingPort(const MicrosecondClock& clock)
        : clock_(clock)
    { }

    std::size_t Read(std::span<std::uint8_t> buffer, int timeoutMs) override
    {
        Log("read " + std::to_string(buffer.size()) + " " + std::to_string(timeoutMs));
        const std::size_t count = std::min(buffer.size(), incoming.size());
        std::copy_n(incoming.begin(), count, buffer.begin());
        return count;
    }
    std::size_t Write(std::span<const std::uint8_t> bytes, int timeoutMs) override
    {
        Log("write " + std::to_string(bytes.size()) + " " + std::to_string(timeoutMs));
        written.assign(bytes.begin(), bytes.end());
        return std::min(bytes.size(), writeLimit);
    }
    void PurgeReceive() override { Log("purge rx"); }
    void PurgeTransmit() override { Log("purge tx"); }
    void SetRts(bool raised) override { Log(raised ? "rts on" : "rts off"); }
    void ClearErrors() override { Log("clear errors"); }

    std::int64_t TimeOf(const std::string& call) const
    {
        const auto found = std::find(calls.begin(), calls.end(), call);
        return found == calls.end() ? -1 : times[static_cast<std::size_t>(found - calls.begin())];
    }

    std::vector<std::uint8_t> incoming;
    std::vector<std::uint8_t> written;
    std::size_t writeLimit = kCommandSize;
    std::vector<std::string> calls;
    std::vector<std::int64_t> times;

private:
    void Log(std::string call)
    {
        calls.push_back(std::move(call));
        times.push_back(clock_.now);
    }
    const MicrosecondClock& clock_;
};

std::array<std::uint8_t, kCommandSize> Command()
{
    std::array<std::uint8_t, kCommandSize> command {};
    std::iota(command.begin(), command.end(), std::uint8_t {0xE0});
    return command;
}

using Calls = std::vector<std::string>;

TEST(SerialExchange, ReadAsksForAFullReplyWithTheByteTimeoutThenPurgesBothSides)
{
    MicrosecondClock clock;
    RecordingPort port(clock);
    port.incoming.assign(265, 0x49);
    std::array<std::uint8_t, kReplyBufferSize> reply {};
    EXPECT_EQ(ReadReply(port, reply), 265u);
    EXPECT_EQ(port.calls, (Calls {"read 513 563", "purge rx", "purge tx"}));
    EXPECT_EQ(reply[264], 0x49);
    EXPECT_EQ(reply[265], 0);
}

TEST(SerialExchange, WithoutRtsModeOnlyTheWriteHappens)
{
    MicrosecondClock clock;
    RecordingPort port(clock);
    const auto command = Command();
    EXPECT_EQ(WriteCommand(port, command, false, clock), kCommandSize);
    EXPECT_EQ(port.calls, (Calls {"purge tx", "write 27 77"}));
    EXPECT_EQ(port.written, std::vector<std::uint8_t>(command.begin(), command.end()));
    EXPECT_EQ(clock.now, 0) << "no busy-wait without RTS mode";
}

TEST(SerialExchange, RtsModeFramesTheWriteWithTheRtsDelays)
{
    MicrosecondClock clock;
    RecordingPort port(clock);
    EXPECT_EQ(WriteCommand(port, Command(), true, clock), kCommandSize);
    EXPECT_EQ(
        port.calls, (Calls {"purge tx", "rts on", "write 27 77", "rts off", "clear errors", "purge rx"}));
    EXPECT_GT(port.TimeOf("write 27 77") - port.TimeOf("rts on"), 200);
    EXPECT_GT(port.TimeOf("rts off") - port.TimeOf("write 27 77"), 1500);
    EXPECT_GT(port.TimeOf("clear errors") - port.TimeOf("rts off"), 1500);
    EXPECT_LT(port.TimeOf("clear errors") - port.TimeOf("rts on"), 3300) << "no wait beyond the three delays";
}

TEST(SerialExchange, ShortWriteLeavesRtsRaised)
{
    MicrosecondClock clock;
    RecordingPort port(clock);
    port.writeLimit = 20;
    EXPECT_EQ(WriteCommand(port, Command(), true, clock), 20u);
    EXPECT_EQ(port.calls, (Calls {"purge tx", "rts on", "write 27 77", "clear errors", "purge rx"}));
    EXPECT_GT(port.TimeOf("clear errors") - port.TimeOf("write 27 77"), 3000);
}

} // namespace
} // namespace velmaris
