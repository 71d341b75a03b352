// velmaris-tool: the station's headless companion (dump and render data
// files, run simulated heads, write synthetic recordings).

#include "Subcommand.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace velmaris::tool {

namespace {
std::vector<Subcommand>& Registry()
{
    static std::vector<Subcommand> commands;
    return commands;
}

void PrintUsage(std::FILE* out)
{
    std::fprintf(out, "usage: velmaris-tool <command> [options]\n\ncommands:\n");
    auto commands = Registry();
    std::sort(commands.begin(), commands.end(),
        [](const Subcommand& a, const Subcommand& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const Subcommand& c : commands)
        std::fprintf(out, "  %s\n", c.synopsis);
    std::fprintf(out,
        "\n  --help       this text; '<command> --help' for a command's options\n"
        "  --version    the version\n");
}
} // namespace

Subcommand::Registrar::Registrar(const Subcommand& command)
{
    Registry().push_back(command);
}

const std::vector<Subcommand>& Subcommands()
{
    return Registry();
}

} // namespace velmaris::tool

int main(int argc, char** argv)
{
    using namespace velmaris::tool;
    if (argc < 2) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h") {
        PrintUsage(stdout);
        return kExitOk;
    }
    if (first == "--version") {
        std::printf("velmaris-tool %s\n", VELMARIS_VERSION);
        return kExitOk;
    }
    for (const Subcommand& c : Subcommands()) {
        if (first == c.name)
            return c.run(std::vector<std::string>(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "velmaris-tool: unknown command '%s'\n\n", first.c_str());
    PrintUsage(stderr);
    return kExitUsage;
}
