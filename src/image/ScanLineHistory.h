#pragma once
// The receive line L0 and the three most recently prepared lines L1..L3.
// L0 is the ping's echo buffer (see EchoLine.h); L1..L3 are what the
// painters blend and draw.

#include "protocol/EchoLine.h"

namespace velmaris {

struct ScanLineHistory {
    ScanLine l0 {}; // receive line, the echo buffer
    ScanLine l1 {}; // oldest prepared line
    ScanLine l2 {};
    ScanLine l3 {}; // newest prepared line
    bool resetPending = true; // the next prepared line fills L1..L3
};

} // namespace velmaris
