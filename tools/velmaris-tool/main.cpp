// velmaris-tool: the station's headless companion (dump and render data
// files, run simulated heads, write synthetic recordings).

#include "Subcommand.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace velmaris::tool;
    const ToolCommandLine line = ParseToolCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    std::fputs(line.out.c_str(), stdout);
    std::fputs(line.err.c_str(), stderr);
    if (!line.request)
        return line.exitStatus;
    return std::visit([](const auto& request) { return Run(request); }, *line.request);
}
