#pragma once
// COM port numbers to device paths. The operator always sees and picks
// "COM%d"; this map says which device that number opens. A fixed default
// mapping covers COM1 to COM32; the "Serial Devices" section of the INI file
// (keys "COM1", "COM2", ...) overrides it per number, and may also name
// numbers beyond 32. An empty value means the number has no device.
//
// A plain value; not shared between threads.

#include <map>
#include <string>

namespace velmaris {

class SettingsFile;

inline constexpr int kDefaultComPortCount = 32;
// The highest number looked up in the INI file ("COM255").
inline constexpr int kMaxNamedComPort = 255;
inline constexpr const char* kSerialDevicesSection = "Serial Devices";

class ComPortMap {
public:
    ComPortMap() = default; // the default mapping only
    explicit ComPortMap(const SettingsFile& file); // defaults, then the file's overrides
    // The map of the settings file at `iniPath` (a missing file: the defaults).
    static ComPortMap FromSettingsFile(const std::string& iniPath);

    // COM1-COM8 -> /dev/ttyS0-7, COM9-COM24 -> /dev/ttyUSB0-15,
    // COM25-COM32 -> /dev/ttyACM0-7; anything else -> "".
    static std::string DefaultDevice(int comPort);

    // Replaces the device of `comPort` (empty: no device).
    void SetDevice(int comPort, std::string device);

    // The device to open for `comPort`, or "" when it has none.
    std::string Device(int comPort) const;

private:
    std::map<int, std::string> overrides_;
};

} // namespace velmaris
