#pragma once
// Runs the built velmaris-tool to its end and captures everything it prints
// (ToolProcess is for tools that keep running).

#include "support/ChildProcess.h"

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace velmaris::testing {

struct ToolRun {
    int exitCode = -1;
    std::string out; // standard output
};

inline std::string ToolPath()
{
    return std::string(VELMARIS_BINARY_DIR) + "/bin/velmaris-tool";
}

// `arguments` is appended to the tool's path as shell words (tests quote
// their own paths); standard error goes to `errPath` when given; `prefix`
// goes before the tool's path (such as "timeout 10 ").
inline ToolRun RunTool(
    const std::string& arguments, const std::string& errPath = "/dev/null", const std::string& prefix = "")
{
    ToolRun run;
    const std::string command = prefix + "'" + ToolPath() + "' " + arguments + " 2>'" + errPath + "'";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 4096> buffer {};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

inline std::string Quote(const std::string& path)
{
    return "'" + path + "'";
}

} // namespace velmaris::testing
