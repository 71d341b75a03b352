#include "shell/StationCommandLine.h"

#include "links/GpsEndpoint.h"
#include "protocol/SonarSettings.h"

#include <array>

namespace velmaris {

const std::vector<StationOption>& StationOptions()
{
    static const std::vector<StationOption> options {
        {"play", "", "", "play FILE back from its start instead of recording into it"},
        {"ini", "", "PATH", "read and write the settings in PATH instead of Velmaris.INI"},
        {"demo", "", "",
            "run against the built-in simulated head (K52L on loopback);\n"
            "the stored head address and head type stay as they are"},
        {"gps", "", "DEVICE[:BAUD]",
            "read a GPS receiver on DEVICE (/dev/ttyUSB0 or COM3) at BAUD\n"
            "(4800, 9600, 19200, 38400, 57600 or 115200; 4800 when left out)\n"
            "for this run; the settings file is not changed. Also\n"
            "udp://[ADDR]:PORT (NMEA over UDP, heard on ADDR, loopback when\n"
            "left out; 10110 is the customary port) or tcp://HOST:PORT"},
        {"run-for", "", "S", "quit by itself after S seconds"},
        {"screenshot", "", "PNG", "with --run-for: save a picture of the window just before quitting"},
        {"help", "h", "", "this text"},
        {"version", "", "", "the version"},
    };
    return options;
}

bool ApplyStationOption(const std::string& name, const std::string& value, StationCommandLine& line)
{
    if (name == "help") {
        line.help = true;
    } else if (name == "version") {
        line.version = true;
    } else if (name == "demo") {
        line.demo = true;
    } else if (name == "ini") {
        if (value.empty())
            line.error = "--ini needs a file path";
        line.iniPath = value;
    } else if (name == "gps") {
        if (!ParseGpsSwitch(value, line) && line.error.empty())
            line.error = "--gps needs DEVICE[:BAUD]";
    } else if (name == "screenshot") {
        if (value.empty())
            line.error = "--screenshot needs a value";
        line.screenshotPath = value;
    } else if (name == "run-for") {
        int seconds = 0;
        // Once a character is not a digit (or the number too long) it stays refused.
        for (const char c : value)
            seconds
                = (seconds >= 0 && c >= '0' && c <= '9' && seconds < 100000) ? seconds * 10 + (c - '0') : -1;
        if (seconds <= 0)
            line.error = "--run-for takes a whole number of seconds";
        else
            line.runForSeconds = seconds;
    }
    return line.error.empty();
}

void FinishStationCommandLine(const std::vector<std::string>& files, bool play, StationCommandLine& line)
{
    if (files.size() > 1) {
        line.error = "at most one file name";
        return;
    }
    if (!line.screenshotPath.empty() && line.runForSeconds == 0) {
        line.error = "--screenshot goes with --run-for";
        return;
    }
    (play ? line.playFile : line.recordFile) = files.empty() ? std::string() : files.front();
}

bool ParseGpsSwitch(const std::string& value, StationCommandLine& line)
{
    if (IsGpsNetworkText(value)) {
        const auto address = ParseGpsNetworkAddress(value, line.error);
        if (!address)
            return false;
        line.gpsDevice = GpsNetworkText(*address);
        return true;
    }
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

std::string StationUsageLine()
{
    std::string usage = "usage: velmaris [[--play] FILE]";
    std::size_t lineStart = 0;
    for (const StationOption& option : StationOptions()) {
        const std::string name = option.name;
        if (name == "play" || name == "help" || name == "version")
            continue;
        const std::string word
            = " [--" + name + (*option.valueName ? std::string(" ") + option.valueName : "") + "]";
        if (usage.size() - lineStart + word.size() > 90) {
            lineStart = usage.size() + 1;
            usage += "\n               ";
        }
        usage += word;
    }
    return usage + "\n";
}

std::string StationUsage()
{
    constexpr std::size_t kColumn = 23;
    std::string list
        = "  FILE                 record the live pings into FILE (.52a or .52l) from the start\n";
    for (const StationOption& option : StationOptions()) {
        std::string left = "  " + (*option.letter ? "-" + std::string(option.letter) + ", " : std::string())
            + "--" + option.name + (*option.valueName ? std::string(" ") + option.valueName : "");
        left = left.size() < kColumn ? left + std::string(kColumn - left.size(), ' ')
                                     : left + "\n" + std::string(kColumn, ' ');
        for (const char c : std::string(option.help))
            left += c == '\n' ? "\n" + std::string(kColumn, ' ') : std::string(1, c);
        list += left + "\n";
    }
    return StationUsageLine() + list;
}

} // namespace velmaris
