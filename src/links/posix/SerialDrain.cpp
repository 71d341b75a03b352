#include "links/SerialDrain.h"

#include <cerrno>
#include <termios.h>

namespace velmaris {

bool DrainSerialLine(SerialHandle handle)
{
    int result = 0;
    do
        result = ::tcdrain(static_cast<int>(handle));
    while (result != 0 && errno == EINTR);
    return result == 0;
}

} // namespace velmaris
