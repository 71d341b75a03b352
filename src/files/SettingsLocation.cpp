#include "files/SettingsLocation.h"

#include "files/PlatformFiles.h"
#include "files/SettingsFile.h"

#include <filesystem>

namespace velmaris {

std::string FolderOf(const std::string& path)
{
    for (std::size_t end = path.size(); end > 0; --end)
        if (IsPathSeparator(path[end - 1]))
            return path.substr(0, end);
    return {};
}

std::string WithTrailingSeparator(const std::string& folder)
{
    if (folder.empty() || IsPathSeparator(folder.back()))
        return folder;
    return folder + kPathSeparator;
}

bool ProgramFolderHoldsFiles(const std::string& programDir)
{
    if (programDir.empty() || !FolderIsWritable(programDir))
        return false;
    // An installed program (<prefix>/bin beside <prefix>/share with the
    // desktop entry) keeps its folder clean even for root, who may write there.
    std::error_code ec;
    return !std::filesystem::exists(
        std::filesystem::path(programDir) / ".." / "share" / "applications" / "velmaris.desktop", ec);
}

std::string XdgConfigFolder(const std::string& xdgConfigHome, const std::string& home)
{
    if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/') // relative XDG paths are invalid
        return xdgConfigHome;
    return home.empty() ? std::string() : WithTrailingSeparator(home) + ".config";
}

std::string ResolveSettingsPath(const SettingsLocationInputs& in)
{
    if (!in.overridePath.empty())
        return in.overridePath;
    if ((in.programDirWritable && !in.programDir.empty()) || in.userSettingsFolder.empty())
        return WithTrailingSeparator(in.programDir) + kIniFileName;
    return in.userSettingsFolder + kIniFileName;
}

namespace {

std::string AbsoluteFolderOf(const std::string& programPath)
{
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(programPath, ec);
    return FolderOf(ec ? programPath : absolute.string());
}

} // namespace

std::string SettingsPathForProgram(const std::string& programPath, const std::string& overridePath)
{
    SettingsLocationInputs in;
    in.overridePath = overridePath;
    in.programDir = AbsoluteFolderOf(programPath);
    in.programDirWritable = ProgramFolderHoldsFiles(in.programDir);
    in.userSettingsFolder = UserSettingsFolder();
    const std::string path = ResolveSettingsPath(in);
    if (overridePath.empty() && !in.programDirWritable) {
        std::error_code ec;
        std::filesystem::create_directories(FolderOf(path), ec);
    }
    return path;
}

std::string DefaultDataFolderForProgram(const std::string& programPath)
{
    const std::string folder = AbsoluteFolderOf(programPath);
    if (ProgramFolderHoldsFiles(folder))
        return folder;
    const std::string home = UserHomeFolder();
    return WithTrailingSeparator(home.empty() ? folder : home);
}

} // namespace velmaris
