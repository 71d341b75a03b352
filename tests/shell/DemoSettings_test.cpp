#include "shell/DemoSettings.h"
#include "support/SettingsFileFixture.h"

namespace velmaris {
namespace {

TEST_F(SettingsFileTest, DemoSettingsLeaveTheOperatorsFileAlone)
{
    WriteIni("[System Settings]\nIP Address=10.1.2.3\nSonar Type=0\nGrid=2\n");
    const std::string before = ReadIni();
    const std::string demo = DemoSettingsPath(path_);
    EXPECT_EQ(demo, (dir_ / "Velmaris-demo.INI").string());
    ASSERT_TRUE(PrepareDemoSettings(path_, demo));
    EXPECT_EQ(ReadIni(), before);

    SonarSettings loaded;
    CommandMessage command;
    PingRecord ping;
    LoadSettingsFile(demo, loaded, command, ping, {});
    EXPECT_EQ(loaded.sonarType, SonarType::EthernetK52L);
    EXPECT_EQ(loaded.ipAddress, "127.0.0.1");
    EXPECT_EQ(loaded.grid, 2); // the operator's display settings come along
}

} // namespace
} // namespace velmaris
