// Any bytes as what the K52A head's serial port delivers: read through the
// serial exchange (a port that hands out the input, in reads the input cuts,
// and may claim more than it delivered), then through the live pipeline of
// the serial cycle, then the next command written, with RTS handling on a
// clock that needs no waiting.
#include "links/SerialExchange.h"
#include "station/StationRig.h"

#include <algorithm>
#include <cstring>

namespace {

using namespace velmaris;

class InputPort final : public SerialPortIo {
public:
    InputPort(std::span<const std::uint8_t> bytes, bool overclaim)
        : bytes_(bytes)
        , overclaim_(overclaim)
    { }
    std::size_t Read(std::span<std::uint8_t> buffer, int) override
    {
        const std::size_t count = std::min(buffer.size(), bytes_.size());
        std::memcpy(buffer.data(), bytes_.data(), count);
        bytes_ = bytes_.subspan(count);
        return overclaim_ ? buffer.size() + 7 : count;
    }
    std::size_t Write(std::span<const std::uint8_t> bytes, int) override { return bytes.size(); }
    void PurgeReceive() override { }
    void PurgeTransmit() override { }
    void SetRts(bool) override { }
    void ClearErrors() override { }

private:
    std::span<const std::uint8_t> bytes_;
    bool overclaim_;
};

// Moves a second per reading: every busy wait ends at once.
class LeapingClock final : public Clock {
public:
    std::int64_t Ticks() const override { return ticks_ += 1'000'000; }
    std::int64_t TicksPerSecond() const override { return 1'000'000; }

private:
    mutable std::int64_t ticks_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    fuzz::StationRig& rig = fuzz::Rig();
    rig.Reset(SonarType::SerialK52A, 0);
    const std::uint8_t control = data[0];
    rig.state.settings.sonarUpDown = control & 1;
    rig.state.settings.zeroDown = (control >> 1) & 1;
    InputPort port(std::span(data + 1, size - 1), (control & 0x80) != 0);
    static const LeapingClock clock;

    // One transfer per 513 bytes of input, as the worker does it ping after ping.
    for (int transfer = 0; transfer < 4; ++transfer) {
        std::array<std::uint8_t, kReplyBufferSize> reply {};
        const std::size_t count = ReadReply(port, reply);
        if (count > reply.size())
            __builtin_trap();
        // The worker writes a copy of the command, then hands the reply over
        // with what it wrote.
        const std::array<std::uint8_t, kCommandSize> command = rig.state.command.Bytes();
        const std::size_t written = WriteCommand(port, command, (control & 0x20) != 0, clock);
        const std::size_t sent = written == command.size() ? command.size() : 0;
        rig.cycle.OnSerialTransfer(
            std::span(reply.data(), count), (control & 0x40) == 0, std::span(command).first(sent));
        fuzz::CheckState(rig.state);
        if (count < reply.size())
            break;
    }
    return 0;
}
