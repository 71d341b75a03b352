#include "links/ComPortMap.h"

namespace velmaris {

std::string ComPortMap::DefaultDevice(int comPort)
{
    return LinuxComDevice(comPort);
}

} // namespace velmaris
