#include "links/ComPortMap.h"

namespace velmaris {

std::string ComPortMap::DefaultDevice(int comPort)
{
    return WindowsComDevice(comPort);
}

} // namespace velmaris
