#include "controls/ConnectionRules.h"

#include <gtest/gtest.h>

#include <set>

namespace velmaris {
namespace {

std::vector<std::string> Texts(const ComPortLists& lists)
{
    std::vector<std::string> texts;
    for (const ComPortEntry& e : lists.entries)
        texts.push_back(e.text);
    return texts;
}

ComPortProbe FreePorts(std::set<int> free)
{
    return [free](int port) { return free.contains(port); };
}

TEST(ComPortLists, HeldPortsAreListedAndSelectedFreeOnesOnlyListed)
{
    struct Case {
        const char* name;
        std::set<int> free;
        ComPortHolders holders;
        int sonarPort, gpsPort;
        std::vector<std::string> texts;
        int sonarSelection, gpsSelection;
    };
    const Case cases[] = {
        {"link holds COM3, COM1 and COM4 free", {1, 4}, {3, 0}, 3, 2, {"COM1", "COM3", "COM4"}, 1, -1},
        {"sorted as text", {10, 11}, {2, 0}, 2, 5, {"COM10", "COM11", "COM2"}, 2, -1},
        {"configured but not held", {1, 3, 4}, {0, 0}, 3, 2, {"COM1", "COM3", "COM4"}, -1, -1},
        {"GPS reader holds COM5", {1}, {3, 5}, 3, 5, {"COM1", "COM3", "COM5"}, 1, 2},
        {"GPS on the sonar's port is not its own", {}, {3, 3}, 3, 3, {"COM3"}, 0, -1},
        {"held elsewhere: not listed", {}, {0, 0}, 7, 8, {}, -1, -1},
    };
    for (const Case& c : cases) {
        const ComPortLists lists = BuildComPortLists(FreePorts(c.free), c.holders, c.sonarPort, c.gpsPort);
        EXPECT_EQ(Texts(lists), c.texts) << c.name;
        EXPECT_EQ(lists.sonarSelection, c.sonarSelection) << c.name;
        EXPECT_EQ(lists.gpsSelection, c.gpsSelection) << c.name;
    }
}

TEST(ComPortLists, ProbesEveryNumberOnceAndLabelsKeepTheComPrefix)
{
    std::vector<int> probed;
    const auto lists = BuildComPortLists(
        [&probed](int port) {
            probed.push_back(port);
            return port == 9 || port == 12;
        },
        {}, 1, 2,
        [](int port) {
            return ComPortEntryText(
                port, "/dev/ttyUSB" + std::to_string(port - 9), port == 9 ? "FT232R" : "");
        });
    ASSERT_EQ(probed.size(), 32u);
    EXPECT_EQ(probed.front(), 1);
    EXPECT_EQ(probed.back(), 32);
    EXPECT_EQ(
        Texts(lists), (std::vector<std::string> {"COM12  /dev/ttyUSB3", "COM9  /dev/ttyUSB0 (FT232R)"}));
    for (const ComPortEntry& e : lists.entries)
        EXPECT_EQ(ComPortFromEntry(e.text), e.port);
}

TEST(ComPortEntries, ParseTheNumberAfterCom)
{
    EXPECT_EQ(ComPortFromEntry("COM7"), 7);
    EXPECT_EQ(ComPortFromEntry("COM33"), 33) << "range is the caller's check";
    EXPECT_EQ(ComPortFromEntry("COM0"), 0);
    EXPECT_EQ(ComPortFromEntry("COM"), std::nullopt);
    EXPECT_EQ(ComPortFromEntry("/dev/ttyS0"), std::nullopt);
    EXPECT_EQ(ComPortFromEntry("COM99999999999"), std::nullopt);
}

TEST(ComDialogEnableRule, GpsAlwaysOffSonarControlsBySonarType)
{
    for (const SonarType type : {SonarType::SerialK52A, SonarType::EthernetK52L}) {
        int gps = 1;
        const ComDialogEnables before {false, true, true};
        const ComDialogEnables after = ApplyComDialogEnableRule(gps, type, before);
        EXPECT_EQ(gps, 0);
        EXPECT_FALSE(after.gpsEnableBox);
        EXPECT_FALSE(after.gpsControls);
        EXPECT_EQ(after.sonarControls, type == SonarType::SerialK52A) << CodeOf(type);
    }
}

TEST(IpAddressText, ParsedAsTheAddressControlIsFilled)
{
    using Parts = std::array<int, 4>;
    struct Case {
        const char* text;
        std::optional<Parts> parts;
    };
    const Case cases[] = {
        {"192.168.0.5", Parts {192, 168, 0, 5}},
        {"1.2.3.4", Parts {1, 2, 3, 4}}, // seven characters
        {"1.2.3.", std::nullopt}, // six: the control stays empty
        {"", std::nullopt},
        {"10.20.30", Parts {10, 20, 30, 0}}, // missing part is 0
        {"300.1.2.3", Parts {44, 1, 2, 3}}, // one byte each
        {"12a.b.7x.1", Parts {12, 0, 7, 1}}, // leading digits
        {"1.2.3.4.5.6", Parts {1, 2, 3, 4}},
        {"1.2.3.4.99999", Parts {1, 2, 3, 4}}, // a fifth part is not read
        {"1.2.3333.4", std::nullopt}, // over-long part: refused
        {"head.local", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseIpAddressText(c.text), c.parts) << c.text;
    EXPECT_EQ(IpAddressText({127, 0, 0, 1}), "127.0.0.1");
}

} // namespace
} // namespace velmaris
