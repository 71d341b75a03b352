#include "shell/DemoSettings.h"

#include "files/SettingsFile.h"
#include "files/SettingsLocation.h"
#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"

namespace velmaris {

std::string DemoSettingsPath(const std::string& iniPath)
{
    return FolderOf(iniPath) + "Velmaris-demo.INI";
}

bool PrepareDemoSettings(const std::string& iniPath, const std::string& demoPath)
{
    SettingsFile file(iniPath);
    file.Read();
    SonarSettings demo;
    demo.sonarType = SonarType::EthernetK52L;
    demo.ipAddress = "127.0.0.1";
    demo.udpMode = 0;
    file.StoreKeys({"Sonar Type", "IP Address", "UDP Mode"}, demo, CommandMessage {});
    return file.WriteAs(demoPath);
}

} // namespace velmaris
