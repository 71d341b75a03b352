// Any argument list for the station: the input's lines are the arguments.
// Parsing never fails in any other way than by setting the error, what it
// accepts is consistent, and a lone file name comes through byte for byte.
#include "shell/ArgumentText.h"
#include "shell/qt/StationArguments.h"

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
    if (args.size() == 1 && !args[0].empty() && args[0][0] != '-' && line.recordFile != args[0])
        __builtin_trap();
    for (const std::string& arg : args)
        if (ArgumentFromUtf16(ArgumentToUtf16(arg)) != arg)
            __builtin_trap();
    StationCommandLine gps;
    if (!args.empty() && ParseGpsSwitch(args.front(), gps) == gps.gpsDevice.empty())
        __builtin_trap();
    return 0;
}
