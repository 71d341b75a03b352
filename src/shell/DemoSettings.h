#pragma once
// The settings file of a demo run: a copy of the operator's settings with the
// head switched to the built-in simulated K52L on loopback. The operator's
// own file (head type and address above all) is never touched by a demo.

#include <string>

namespace velmaris {

// "Velmaris-demo.INI" beside the operator's settings file.
std::string DemoSettingsPath(const std::string& iniPath);

// Writes the demo settings file from the operator's (missing: defaults):
// `Sonar Type` 1, `IP Address` 127.0.0.1, `UDP Mode` 0. False when it could
// not be written.
bool PrepareDemoSettings(const std::string& iniPath, const std::string& demoPath);

} // namespace velmaris
