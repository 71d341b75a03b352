#include "shell/StationCommandLine.h"

namespace velmaris {

StationCommandLine ParseStationCommandLine(const std::vector<std::string>& args)
{
    StationCommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (arg == "--demo") {
            line.demo = true;
        } else if (arg == "--ini") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                line.error = "--ini needs a file path";
                return line;
            }
            line.iniPath = args[++i];
        } else if (arg == "--screenshot" || arg == "--run-for") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                line.error = arg + " needs a value";
                return line;
            }
            const std::string& value = args[++i];
            if (arg == "--screenshot") {
                line.screenshotPath = value;
            } else {
                int seconds = 0;
                for (const char c : value)
                    seconds = (c >= '0' && c <= '9' && seconds < 100000) ? seconds * 10 + (c - '0') : -1;
                if (seconds <= 0) {
                    line.error = "--run-for takes a whole number of seconds";
                    return line;
                }
                line.runForSeconds = seconds;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            line.error = "unknown option " + arg;
            return line;
        } else if (line.recordFile.empty()) {
            line.recordFile = arg;
        } else {
            line.error = "at most one file name to record into";
            return line;
        }
    }
    if (!line.screenshotPath.empty() && line.runForSeconds == 0)
        line.error = "--screenshot goes with --run-for";
    return line;
}

} // namespace velmaris
