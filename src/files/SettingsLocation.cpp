#include "files/SettingsLocation.h"

#include "files/SettingsFile.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace velmaris {

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of(kPathSeparator);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string WithTrailingSeparator(const std::string& folder)
{
    if (folder.empty() || folder.back() == kPathSeparator)
        return folder;
    return folder + kPathSeparator;
}

bool ProgramFolderHoldsFiles(const std::string& programDir)
{
    if (programDir.empty() || access(programDir.c_str(), W_OK) != 0)
        return false;
    // An installed program (<prefix>/bin beside <prefix>/share with the
    // desktop entry) keeps its folder clean even for root, who may write there.
    std::error_code ec;
    return !std::filesystem::exists(
        std::filesystem::path(programDir) / ".." / "share" / "applications" / "velmaris.desktop", ec);
}

std::string ResolveSettingsPath(const SettingsLocationInputs& in)
{
    if (!in.overridePath.empty())
        return in.overridePath;
    if (in.programDirWritable && !in.programDir.empty())
        return WithTrailingSeparator(in.programDir) + kIniFileName;
    std::string config = in.xdgConfigHome;
    if (config.empty() || config.front() != kPathSeparator) // relative XDG paths are invalid
        config = in.home.empty() ? std::string() : WithTrailingSeparator(in.home) + ".config";
    if (config.empty())
        return WithTrailingSeparator(in.programDir) + kIniFileName;
    return WithTrailingSeparator(config) + "Velmaris/" + kIniFileName;
}

std::string SettingsPathForProgram(const std::string& programPath, const std::string& overridePath)
{
    SettingsLocationInputs in;
    in.overridePath = overridePath;
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(programPath, ec);
    in.programDir = FolderOf(ec ? programPath : absolute.string());
    in.programDirWritable = ProgramFolderHoldsFiles(in.programDir);
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"))
        in.xdgConfigHome = xdg;
    if (const char* home = std::getenv("HOME"))
        in.home = home;
    const std::string path = ResolveSettingsPath(in);
    if (overridePath.empty() && !in.programDirWritable)
        std::filesystem::create_directories(FolderOf(path), ec);
    return path;
}

} // namespace velmaris

namespace velmaris {
std::string DefaultDataFolderForProgram(const std::string& programPath)
{
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(programPath, ec);
    const std::string folder = FolderOf(ec ? programPath : absolute.string());
    if (ProgramFolderHoldsFiles(folder))
        return folder;
    const char* home = std::getenv("HOME");
    return WithTrailingSeparator(home && *home ? std::string(home) : folder);
}
} // namespace velmaris
