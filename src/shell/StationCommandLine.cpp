#include "shell/StationCommandLine.h"

#include "protocol/SonarSettings.h"

#include <array>

namespace velmaris {

StationCommandLine ParseStationCommandLine(const std::vector<std::string>& args)
{
    StationCommandLine line;
    bool play = false;
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
        } else if (arg == "--play") {
            play = true;
        } else if (arg == "--gps") {
            if (i + 1 >= args.size() || !ParseGpsSwitch(args[i + 1], line)) {
                if (line.error.empty())
                    line.error = "--gps needs DEVICE[:BAUD]";
                return line;
            }
            ++i;
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
                // Once a character is not a digit (or the number too long) it stays refused.
                for (const char c : value)
                    seconds = (seconds >= 0 && c >= '0' && c <= '9' && seconds < 100000)
                        ? seconds * 10 + (c - '0')
                        : -1;
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
            line.error = "at most one file name";
            return line;
        }
    }
    if (!line.screenshotPath.empty() && line.runForSeconds == 0)
        line.error = "--screenshot goes with --run-for";
    if (play)
        line.playFile.swap(line.recordFile);
    return line;
}

bool ParseGpsSwitch(const std::string& value, StationCommandLine& line)
{
    std::string device = value;
    int baud = kGpsBaudRates[0];
    const std::size_t colon = value.rfind(':');
    if (colon != std::string::npos) {
        const std::string rate = value.substr(colon + 1);
        baud = 0;
        for (const char c : rate)
            baud = (baud >= 0 && c >= '0' && c <= '9' && baud < 1000000) ? baud * 10 + (c - '0') : -1;
        bool offered = false;
        for (const int r : kGpsBaudRates)
            offered = offered || r == baud;
        if (rate.empty() || !offered) {
            line.error = "--gps: the rate must be one of 4800, 9600, 19200, 38400, 57600, 115200";
            return false;
        }
        device = value.substr(0, colon);
    }
    if (device.empty()) {
        line.error = "--gps needs DEVICE[:BAUD]";
        return false;
    }
    line.gpsDevice = device;
    line.gpsBaud = baud;
    return true;
}

} // namespace velmaris
