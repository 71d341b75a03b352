#pragma once
// Waiting for a serial line's transmitter to empty: what the platforms do
// differently under the serial worker. One implementation per platform
// (posix/, windows/), chosen by the build.

#include <cstdint>

namespace velmaris {

// An open serial device as the operating system knows it: a file descriptor
// on POSIX, a HANDLE on Windows. The caller keeps it open.
using SerialHandle = std::intptr_t;

inline SerialHandle ToSerialHandle(int descriptor)
{
    return descriptor;
}
inline SerialHandle ToSerialHandle(void* handle)
{
    return reinterpret_cast<SerialHandle>(handle);
}

// Blocks until every byte already handed to the driver has left the line
// (tcdrain on POSIX, FlushFileBuffers on Windows), so timing that follows a
// command counts from its last bit. False when the driver cannot tell; the
// bytes are then on their way all the same.
bool DrainSerialLine(SerialHandle handle);

} // namespace velmaris
