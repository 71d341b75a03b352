// Any bytes as one UDP datagram through decode and paint, as "Plot Data from
// UDP" takes it. The first byte is the harness's: its low five bits zero
// take the datagram as it stands after the previous one (a mode or range
// change then clears the 16 MB raster); otherwise the state is first set to
// what the datagram's own header says, so most inputs cost only their
// painting (at zoom 0.5, or 2.0 with bit 6). Bit 7 makes the datagram's
// reported size larger than the bytes the socket kept.
#include "files/PlaybackInput.h"
#include "files/RecordDecode.h"
#include "station/StationRig.h"

#include <algorithm>

namespace {

// Leaves the state as if the datagram had already been decoded once.
void AlignStateTo(velmaris::SonarState& state, std::span<const std::uint8_t> datagram)
{
    using namespace velmaris;
    if (datagram.size() < kRecordPrefixSize)
        return;
    const RecordedPing record {datagram.first<kRecordHeaderSize>(),
        datagram.subspan<kRecordHeaderSize, PingRecord::kReplyHeaderSize>(), {}};
    DecodeRecordedPing(record, state.ping, state.command, state.settings, ReplyContext {false, true});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmaris;
    if (size == 0)
        return 0;
    fuzz::StationRig& rig = fuzz::Rig();
    const std::uint8_t control = data[0];
    const std::span<const std::uint8_t> datagram(
        data + 1, std::min<std::size_t>(size - 1, kUdpReceiveBufferSize));
    if ((control & 0x1F) != 0) {
        rig.Reset(SonarType::EthernetK52L, 1);
        AlignStateTo(rig.state, datagram);
        if ((control & 0x40) != 0)
            rig.state.settings.zoom = 2.0;
        fuzz::RestoreRowOrder(rig.state);
    }
    const std::size_t trueSize = datagram.size() + ((control & 0x80) != 0 ? (control & 0x60) + 1u : 0u);
    rig.cycle.OnUdpDatagram(datagram, trueSize);
    fuzz::CheckState(rig.state);
    return 0;
}
