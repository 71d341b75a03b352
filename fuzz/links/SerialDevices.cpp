// Any bytes as the settings file, read for its "Serial Devices" section, the
// map from COM numbers to devices. Whatever the file holds, every number
// opens either what the file names for it or the platform's default, a
// named device is one line of text, and numbers outside 1..255 have no
// device unless set by hand.
#include "files/PlaybackInput.h"
#include "files/SettingsFile.h"
#include "links/ComPortMap.h"

#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmaris;
    static const std::string path = fuzz::ScratchPath(".ini");
    if (!fuzz::WriteScratch(path, data, size))
        return 0;

    SettingsFile file(path);
    file.Read();
    ComPortMap map(file);
    for (int comPort = -1; comPort <= kMaxNamedComPort + 1; ++comPort) {
        const std::string device = map.Device(comPort);
        const std::string key = "COM" + std::to_string(comPort);
        const auto named = comPort >= 1 && comPort <= kMaxNamedComPort
            ? file.Value(kSerialDevicesSection, key.c_str())
            : std::nullopt;
        if (device != (named ? *named : ComPortMap::DefaultDevice(comPort)))
            __builtin_trap();
        if (device.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
            __builtin_trap();
    }
    if (!ComPortMap::DefaultDevice(0).empty() || !ComPortMap::DefaultDevice(kMaxNamedComPort + 1).empty())
        __builtin_trap();
    // A number set by hand wins over the file.
    map.SetDevice(5, "/dev/ttyUSB9");
    if (map.Device(5) != "/dev/ttyUSB9")
        __builtin_trap();
    std::remove(path.c_str());
    return 0;
}
