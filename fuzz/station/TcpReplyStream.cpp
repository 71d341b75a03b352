// Any byte stream from the K52L head, cut into segments the input chooses,
// through the reply assembler and the live pipeline of a connected cycle.
// The input is a list of steps: a control byte, a length byte, then that
// many stream bytes. The control byte's top bits say what happens before the
// segment arrives (nothing, the watchdog expires, the send timer fires, the
// connection drops and comes back).
#include "station/StationRig.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmaris;
    fuzz::StationRig& rig = fuzz::Rig();
    rig.Reset(SonarType::EthernetK52L, 0);
    rig.cycle.OnTcpClosed();
    rig.cycle.OnTcpConnected(true);

    std::size_t at = 0;
    while (at + 2 <= size) {
        const std::uint8_t control = data[at];
        const std::uint8_t lengthByte = data[at + 1];
        at += 2;
        switch (control >> 6) {
        case 1:
            rig.timers.Fire(rig.cycle, kWatchdogTimer);
            break;
        case 2:
            rig.timers.Fire(rig.cycle, kSendTimer);
            break;
        case 3:
            rig.cycle.OnTcpClosed();
            rig.cycle.OnTcpConnected((control & 1) != 0);
            break;
        default:
            break;
        }
        // 0..127 bytes one by one, then 0..635 in fives: small cuts and
        // segments longer than a reply are both easy to reach.
        const std::size_t length = lengthByte < 128 ? lengthByte : (lengthByte - 128u) * 5u;
        const std::size_t take = std::min(length, size - at);
        rig.cycle.OnTcpBytes(std::span(data + at, take));
        at += take;
        if (rig.cycle.Assembler().Pending() > kReplyBufferSize)
            __builtin_trap();
        fuzz::CheckState(rig.state);
    }
    return 0;
}
