#pragma once
// COM port numbers to device paths. The operator always sees and picks
// "COM%d"; this map says which device that number opens. The default mapping
// is the platform's rule (Linux: COM1 to COM32 on fixed device files;
// Windows: every number on its own device, "\\.\COM5" for COM5); the
// "Serial Devices" section of the INI file (keys "COM1", "COM2", ...)
// overrides it per number, and may also name numbers beyond the defaults. An
// empty value means the number has no device.
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

    // The platform's device for `comPort` (one of the two rules below; one
    // implementation per platform in posix/ and windows/).
    static std::string DefaultDevice(int comPort);

    // Replaces the device of `comPort` (empty: no device).
    void SetDevice(int comPort, std::string device);

    // The device to open for `comPort`, or "" when it has none.
    std::string Device(int comPort) const;

private:
    std::map<int, std::string> overrides_;
};

// Linux: COM1-COM8 -> /dev/ttyS0-7, COM9-COM24 -> /dev/ttyUSB0-15,
// COM25-COM32 -> /dev/ttyACM0-7; anything else -> "".
std::string LinuxComDevice(int comPort);

// Windows: COM1-COM255 -> "\\.\COM1" to "\\.\COM255" (the form that
// opens numbers above 9 too); anything else -> "".
std::string WindowsComDevice(int comPort);

} // namespace velmaris
