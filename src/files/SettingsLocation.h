#pragma once
// Where the settings file lives: beside the program when that folder is
// writable (and not an installed program's bin folder), otherwise in the
// user's settings folder ($XDG_CONFIG_HOME/Velmaris or ~/.config/Velmaris on
// Linux, %APPDATA%\Velmaris on Windows); `--ini PATH` overrides both.

#include <string>

namespace velmaris {

// The separator this code adds to a folder ('/', which Windows takes too).
inline constexpr char kPathSeparator = '/';

struct SettingsLocationInputs {
    std::string overridePath; // from --ini, empty when not given
    std::string programDir; // folder of the running program
    bool programDirWritable = false;
    std::string
        userSettingsFolder; // the platform's per-user folder with its trailing separator, may be empty
};

// True when the program's own folder takes the settings file and new data
// files: it is writable and not the bin folder of an installed program
// (one with ../share/applications/velmaris.desktop beside it).
bool ProgramFolderHoldsFiles(const std::string& programDir);

// The settings file path for the given inputs (pure; creates nothing).
std::string ResolveSettingsPath(const SettingsLocationInputs& inputs);

// The user's configuration folder on Linux: $XDG_CONFIG_HOME when it is an
// absolute path, otherwise ~/.config, "" when neither is known (pure).
std::string XdgConfigFolder(const std::string& xdgConfigHome, const std::string& home);

// Gathers the inputs from the environment for the program at `programPath`
// and resolves them; creates the configuration folder when it is chosen.
std::string SettingsPathForProgram(const std::string& programPath, const std::string& overridePath);

// The folder part of a path up to and including its last separator ("" when it has none).
std::string FolderOf(const std::string& path);

// `folder` with a trailing separator ("" stays "").
std::string WithTrailingSeparator(const std::string& folder);

} // namespace velmaris

namespace velmaris {
// The initial `Read File Directory` / `Write File Directory`: the program's
// folder when it holds files (ProgramFolderHoldsFiles), otherwise the
// user's home folder; always with a trailing separator.
std::string DefaultDataFolderForProgram(const std::string& programPath);
} // namespace velmaris
