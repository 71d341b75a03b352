#include "shell/DemoSettings.h"

#include "files/IniFile.h"
#include "files/SettingsFile.h"
#include "files/SettingsLocation.h"

namespace velmaris {

std::string DemoSettingsPath(const std::string& iniPath)
{
    return FolderOf(iniPath) + "Velmaris-demo.INI";
}

bool PrepareDemoSettings(const std::string& iniPath, const std::string& demoPath)
{
    IniFile ini;
    ini.Load(iniPath);
    ini.Set(kSystemSection, "Sonar Type", "1");
    ini.Set(kSystemSection, "IP Address", "127.0.0.1");
    ini.Set(kSystemSection, "UDP Mode", "0");
    return ini.Save(demoPath);
}

} // namespace velmaris
