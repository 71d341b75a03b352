#include "links/ComPortMap.h"

#include "files/SettingsFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace velmaris {
namespace {

// The platform's rule is one of these two; both hold on every build.
TEST(ComPortMap, DefaultRulesOfTheTwoPlatforms)
{
    EXPECT_EQ(LinuxComDevice(1), "/dev/ttyS0");
    EXPECT_EQ(LinuxComDevice(8), "/dev/ttyS7");
    EXPECT_EQ(LinuxComDevice(9), "/dev/ttyUSB0");
    EXPECT_EQ(LinuxComDevice(24), "/dev/ttyUSB15");
    EXPECT_EQ(LinuxComDevice(25), "/dev/ttyACM0");
    EXPECT_EQ(LinuxComDevice(32), "/dev/ttyACM7");
    for (int outside : {0, -1, 33, 255, 100000})
        EXPECT_EQ(LinuxComDevice(outside), "") << outside;

    EXPECT_EQ(WindowsComDevice(1), R"(\\.\COM1)");
    EXPECT_EQ(WindowsComDevice(12), R"(\\.\COM12)");
    EXPECT_EQ(WindowsComDevice(255), R"(\\.\COM255)");
    for (int outside : {0, -1, 256, 100000})
        EXPECT_EQ(WindowsComDevice(outside), "") << outside;

    const std::string one = ComPortMap::DefaultDevice(1);
    EXPECT_TRUE(one == LinuxComDevice(1) || one == WindowsComDevice(1)) << one;
    EXPECT_EQ(ComPortMap().Device(1), one);
}

TEST(ComPortMap, IniSectionOverridesAndExtendsTheDefaults)
{
    const auto path = std::filesystem::temp_directory_path() / "velmaris-comportmap-test.ini";
    {
        std::ofstream out(path);
        out << "[Sonar]\nCOM6=/dev/wrong-section\n"
               "[serial devices]\r\n"
               "COM5=/dev/ttyUSB3\r\n"
               "com2=\r\n"
               "COM40=/dev/pts/9\r\n"
               "COM0=/dev/never\r\n";
    }
    SettingsFile file(path.string());
    ASSERT_TRUE(file.Read());
    EXPECT_EQ(ComPortMap::FromSettingsFile(path.string()).Device(5), "/dev/ttyUSB3");
    std::filesystem::remove(path);
    EXPECT_EQ(ComPortMap::FromSettingsFile(path.string()).Device(5), ComPortMap::DefaultDevice(5))
        << "no file: the defaults";

    const ComPortMap map(file);
    EXPECT_EQ(map.Device(5), "/dev/ttyUSB3");
    EXPECT_EQ(map.Device(2), "") << "an empty value leaves the number without a device";
    EXPECT_EQ(map.Device(40), "/dev/pts/9") << "numbers beyond 32 exist when named";
    EXPECT_EQ(map.Device(6), ComPortMap::DefaultDevice(6)) << "other sections do not count";
    EXPECT_EQ(map.Device(0), "") << "COM0 is not a port number";
    EXPECT_EQ(map.Device(1), ComPortMap::DefaultDevice(1));
}

TEST(ComPortMap, SetDeviceReplacesOneNumber)
{
    ComPortMap map;
    map.SetDevice(3, "/dev/pts/4");
    map.SetDevice(9, "");
    EXPECT_EQ(map.Device(3), "/dev/pts/4");
    EXPECT_EQ(map.Device(9), "");
    EXPECT_EQ(map.Device(10), ComPortMap::DefaultDevice(10));
}

} // namespace
} // namespace velmaris
