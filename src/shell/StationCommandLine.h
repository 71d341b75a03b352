#pragma once
// The station's command line: at most one file name, recorded into (or with
// --play played back), plus --ini PATH, --demo, --gps DEVICE[:BAUD], --help
// and --version.

#include <string>
#include <vector>

namespace velmaris {

struct StationCommandLine {
    std::string recordFile; // record into this file from the start ("" for none)
    // --play FILE: play this data file back from the start instead ("" for
    // none). The desktop opens recordings with "velmaris --play %f", so a
    // recording opened from a file manager is never recorded over; --play
    // with no file (the menu entry) is a plain start.
    std::string playFile;
    std::string iniPath; // --ini PATH ("" for the usual place)
    bool demo = false; // start the built-in simulated K52L head and connect to it
    std::string screenshotPath; // --screenshot PATH: write a picture of the window before quitting
    int runForSeconds = 0; // --run-for S: quit after S seconds (0: run until closed)
    // --gps DEVICE[:BAUD]: GPS input from DEVICE (a path or "COMn") for this
    // run only; nothing of it is written to the settings. "" for none.
    std::string gpsDevice;
    int gpsBaud = 4800;
    bool help = false;
    bool version = false;
    std::string error; // not empty when the command line was not understood
};

// `args` are the arguments after the program name.
StationCommandLine ParseStationCommandLine(const std::vector<std::string>& args);

// "DEVICE[:BAUD]" of --gps into `line`; false (and `line.error` set) when
// the device is empty or the rate is not one the GPS input offers.
bool ParseGpsSwitch(const std::string& value, StationCommandLine& line);

inline constexpr const char* kStationUsage
    = "usage: velmaris [[--play] FILE] [--ini PATH] [--demo]\n"
      "  FILE        record the live pings into FILE (.52a or .52l) from the start\n"
      "  --play      play FILE back from its start instead of recording into it\n"
      "  --ini PATH  read and write the settings in PATH instead of Velmaris.INI\n"
      "  --demo      run against the built-in simulated head (K52L on loopback);\n"
      "              the stored head address and head type stay as they are\n"
      "  --gps DEVICE[:BAUD]  read a GPS receiver on DEVICE (/dev/ttyUSB0 or COM3) at\n"
      "              BAUD (4800, 9600, 19200, 38400, 57600 or 115200; 4800 when left out)\n"
      "              for this run; the settings file is not changed\n"
      "  --run-for S       quit by itself after S seconds\n"
      "  --screenshot PNG  with --run-for: save a picture of the window just before quitting\n"
      "  --help      this text\n"
      "  --version   the version\n";

} // namespace velmaris
