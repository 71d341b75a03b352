// Any argument list for the station: the input's lines are the arguments.
// Parsing never fails in any other way than by setting the error, and what
// it accepts is consistent.
#include "shell/StationCommandLine.h"

#include "FuzzLines.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmaris;
    std::vector<std::string> args = fuzz::SplitLines(data, size);

    const StationCommandLine line = ParseStationCommandLine(args);
    if (line.error.empty()) {
        if (line.runForSeconds < 0 || (!line.screenshotPath.empty() && line.runForSeconds == 0))
            __builtin_trap();
        if (!line.gpsDevice.empty() && line.gpsBaud != 4800 && line.gpsBaud != 9600 && line.gpsBaud != 19200
            && line.gpsBaud != 38400 && line.gpsBaud != 57600 && line.gpsBaud != 115200)
            __builtin_trap();
    }
    StationCommandLine gps;
    if (!args.empty() && ParseGpsSwitch(args.front(), gps) == gps.gpsDevice.empty())
        __builtin_trap();
    return 0;
}
