#include "links/ComPortMap.h"

#include "files/SettingsFile.h"

namespace velmaris {

ComPortMap::ComPortMap(const SettingsFile& file)
{
    for (int comPort = 1; comPort <= kMaxNamedComPort; ++comPort) {
        const std::string key = "COM" + std::to_string(comPort);
        if (auto device = file.Value(kSerialDevicesSection, key.c_str()))
            overrides_[comPort] = std::move(*device);
    }
}

ComPortMap ComPortMap::FromSettingsFile(const std::string& iniPath)
{
    SettingsFile file(iniPath);
    file.Read();
    return ComPortMap(file);
}

std::string LinuxComDevice(int comPort)
{
    if (comPort >= 1 && comPort <= 8)
        return "/dev/ttyS" + std::to_string(comPort - 1);
    if (comPort >= 9 && comPort <= 24)
        return "/dev/ttyUSB" + std::to_string(comPort - 9);
    if (comPort >= 25 && comPort <= kDefaultComPortCount)
        return "/dev/ttyACM" + std::to_string(comPort - 25);
    return {};
}

std::string WindowsComDevice(int comPort)
{
    if (comPort >= 1 && comPort <= kMaxNamedComPort)
        return "\\\\.\\COM" + std::to_string(comPort);
    return {};
}

void ComPortMap::SetDevice(int comPort, std::string device)
{
    overrides_[comPort] = std::move(device);
}

std::string ComPortMap::Device(int comPort) const
{
    const auto found = overrides_.find(comPort);
    if (found != overrides_.end())
        return found->second;
    return DefaultDevice(comPort);
}

} // namespace velmaris
