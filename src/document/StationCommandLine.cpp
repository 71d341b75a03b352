#include "document/StationCommandLine.h"

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
    return line;
}

} // namespace velmaris
