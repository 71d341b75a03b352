// Feeds arbitrary bytes through the reply path: placing a received reply and
// decoding its header. The first byte chooses the modes and orientation.
#include "protocol/ReplyMessage.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmaris;
    if (size == 0)
        return 0;
    const std::uint8_t modes = data[0];
    ReplyContext context {(modes & 1) != 0, (modes & 2) != 0};
    SonarSettings settings;
    settings.sonarUpDown = (modes >> 2) & 1;
    settings.zeroDown = (modes >> 3) & 1;
    settings.rotateImage = (modes >> 4) * 22.5 - 180.0;

    PingRecord ping;
    CommandMessage command;
    ScanLine l0 {};
    const std::span<const std::uint8_t> reply(data + 1, size - 1);
    // Decode the reply twice, as two consecutive pings, to run the history shift.
    for (int i = 0; i < 2; ++i) {
        const int length = StoreReply(reply, ping, l0);
        if (length != 265 && length != 513 && length != 13)
            __builtin_trap();
        if (DecodeReplyHeader(ping, command, settings, context)) {
            if (ping.headPosition < 0 || ping.headPosition > 8191 || settings.rangeIndex < 0
                || settings.rangeIndex >= kRangeCount)
                __builtin_trap();
        }
    }
    return 0;
}
