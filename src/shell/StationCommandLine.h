#pragma once
// The station's command line: at most one file name, recorded into (or with
// --play played back), plus --ini PATH, --demo, --gps DEVICE[:BAUD], --help
// and --version. The options are declared once, in StationOptions(); the
// Qt edge (shell/qt/StationArguments.h) splits the words with
// QCommandLineParser from that table, and the rules here turn what it found
// into a StationCommandLine. Plain functions, any thread.

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
    // "udp://ADDR:PORT" or "tcp://HOST:PORT" (written out in full) for a
    // network source; the baud rate then means nothing.
    std::string gpsDevice;
    int gpsBaud = 4800;
    bool help = false;
    bool version = false;
    std::string error; // not empty when the command line was not understood
};

// One option: its long name (without the dashes), its one-letter name ("" for
// none), the name of its value ("" for a switch) and its help text.
struct StationOption {
    const char* name;
    const char* letter;
    const char* valueName;
    const char* help;
};

// Every option, in the order --help lists them.
const std::vector<StationOption>& StationOptions();

// The value given to option `name` ("" for a switch) into `line`; false, with
// `line.error` set, when it is refused. --play changes nothing here: it turns
// the file name into a playback in FinishStationCommandLine.
bool ApplyStationOption(const std::string& name, const std::string& value, StationCommandLine& line);

// The file names after every option was applied: at most one, played back
// with --play (`play`), and --screenshot only with --run-for.
void FinishStationCommandLine(const std::vector<std::string>& files, bool play, StationCommandLine& line);

// "DEVICE[:BAUD]", "udp://[ADDR]:PORT" or "tcp://HOST:PORT" of --gps into
// `line`; false (and `line.error` set) when the device is empty, the rate is
// not one the GPS input offers or the network address is not one.
bool ParseGpsSwitch(const std::string& value, StationCommandLine& line);

// The --help text, from StationOptions(), and its first line(s), the usage.
std::string StationUsage();
std::string StationUsageLine();

} // namespace velmaris
