#pragma once
// Subcommands of velmaris-tool. Each lives in its own file and registers
// itself with a static Subcommand::Registrar, so adding one touches no
// other file.

#include <string>
#include <vector>

namespace velmaris::tool {

// Exit codes shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1; // file errors, damaged input that stops the work
inline constexpr int kExitUsage = 2; // bad command line

struct Subcommand {
    const char* name;
    const char* synopsis; // one line for the overall --help
    int (*run)(const std::vector<std::string>& args); // args after the subcommand name

    struct Registrar {
        explicit Registrar(const Subcommand& command);
    };
};

const std::vector<Subcommand>& Subcommands();

} // namespace velmaris::tool
