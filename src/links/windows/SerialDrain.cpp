#include "links/SerialDrain.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace velmaris {

bool DrainSerialLine(SerialHandle handle)
{
    // On a communications device this returns once the transmit buffer is
    // empty.
    return ::FlushFileBuffers(reinterpret_cast<HANDLE>(handle)) != 0;
}

} // namespace velmaris
