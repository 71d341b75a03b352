#pragma once
// Where the head link stands. The ping cycle sets it; the view's status box
// and the ping period read it. It is never written to a file or a message.

namespace velmaris {

enum class LinkState {
    Down, // not connected (and where a playback leaves it)
    Up, // TCP connected or COM port opened
    Connecting, // a TCP connection is under way
};

} // namespace velmaris
