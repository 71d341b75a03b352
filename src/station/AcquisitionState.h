#pragma once
// The acquisition state the ping cycle keeps beside the current ping: where
// the link stands, whether a reply is awaited, the raw reply and the two
// loop-time measurements. Flags are bools like the rest of the
// document state. User-interface thread only (the serial worker hands its
// results over synchronously; it never touches this state itself).

#include "image/LinkState.h"
#include "links/Links.h"
#include "links/LoopTime.h"

#include <array>
#include <cstdint>

namespace velmaris {

struct AcquisitionState {
    explicit AcquisitionState(const Clock& clock)
        : liveLoop(clock)
        , replayLoop(clock)
    { }

    LinkState linkState = LinkState::Down;
    bool awaitingReply = false; // from a command sent (or a failed read) until a valid reply
    bool blink = false; // inverted by every ping without reply; the status box alternates with it
    bool held = false; // "Hold": no ping is requested and no playback tick runs
    bool workerSuspended = false; // the COM port is being changed
    std::array<std::uint8_t, kReplyBufferSize> replyBuffer {}; // raw reply, serial read or TCP receive
    int receivedByteCount = 0; // bytes in replyBuffer from the last delivery
    bool redraw = false; // the last decoded record asked for a full redraw of the image
    // UDP datagrams not painted since UDP mode started: they came faster
    // than they could be painted, or would have cleared the raster again
    // before the cleared picture was shown.
    std::uint64_t droppedDatagrams = 0;
    LoopTime liveLoop; // between live (serial or TCP) pings
    LoopTime replayLoop; // between UDP datagrams or playback records
};

} // namespace velmaris
