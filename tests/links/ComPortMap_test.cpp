#include "links/ComPortMap.h"

#include "files/SettingsFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace velmaris {
namespace {

TEST(ComPortMap, DefaultsCoverComOneToThirtyTwo)
{
    const ComPortMap map;
    EXPECT_EQ(map.Device(1), "/dev/ttyS0");
    EXPECT_EQ(map.Device(8), "/dev/ttyS7");
    EXPECT_EQ(map.Device(9), "/dev/ttyUSB0");
    EXPECT_EQ(map.Device(24), "/dev/ttyUSB15");
    EXPECT_EQ(map.Device(25), "/dev/ttyACM0");
    EXPECT_EQ(map.Device(32), "/dev/ttyACM7");
    for (int outside : {0, -1, 33, 255, 100000})
        EXPECT_EQ(map.Device(outside), "") << outside;
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
    EXPECT_EQ(ComPortMap::FromSettingsFile(path.string()).Device(5), "/dev/ttyS4") << "no file: the defaults";

    const ComPortMap map(file);
    EXPECT_EQ(map.Device(5), "/dev/ttyUSB3");
    EXPECT_EQ(map.Device(2), "") << "an empty value leaves the number without a device";
    EXPECT_EQ(map.Device(40), "/dev/pts/9") << "numbers beyond 32 exist when named";
    EXPECT_EQ(map.Device(6), "/dev/ttyS5") << "other sections do not count";
    EXPECT_EQ(map.Device(0), "") << "COM0 is not a port number";
    EXPECT_EQ(map.Device(1), "/dev/ttyS0");
    EXPECT_EQ(map.Device(41), "");
}

TEST(ComPortMap, SetDeviceReplacesOneNumber)
{
    ComPortMap map;
    map.SetDevice(3, "/dev/pts/4");
    map.SetDevice(9, "");
    EXPECT_EQ(map.Device(3), "/dev/pts/4");
    EXPECT_EQ(map.Device(9), "");
    EXPECT_EQ(map.Device(10), "/dev/ttyUSB1");
}

} // namespace
} // namespace velmaris
