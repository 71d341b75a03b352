#pragma once
// What each subcommand was asked to do, as its command line says it: the
// options' fields hold their defaults until the command line sets them.
// ParseToolCommandLine fills one of them (ToolCommandLine.cpp, with the
// option declarations in FileCommandOptions.cpp and SimCommandOptions.cpp).

#include "Animation.h"
#include "DatagramSender.h"

#include "image/ImageRaster.h"
#include "image/PictureFormat.h"
#include "links/Links.h"
#include "sim/Boat.h"
#include "sim/FaultPlan.h"
#include "sim/GpsFeed.h"
#include "sim/SyntheticRecording.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace velmaris::tool {

struct DumpRequest {
    std::string file;
    std::string ini;
};

// A rectangle of the 4000 x 4000 image.
struct Crop {
    int x = 0, y = 0, w = ImageRaster::kWidth, h = ImageRaster::kHeight;
};

struct RenderRequest {
    std::string file;
    std::string out;
    std::string ini;
    bool raw = false;
    std::string cropText = "0,0,4000,4000";
    Crop crop;
    std::optional<PictureFormat> format; // from the extension of `out` (none with --raw)
    std::string animate; // --animate OUT: "" for a still picture
    AnimationRequest animation; // with --animate
};

struct ExportRequest {
    std::string file;
    std::string csv; // "-" for standard output
    bool samples = false;
    std::string xtf; // instead of csv: the side-scan pings as XTF
    std::string targets; // with xtf: measured targets (CSV) as notes
    std::string ini;
};

struct ReplayRequest {
    std::string path;
    std::string to = "127.0.0.1:" + std::to_string(kUdpListenPort);
    DatagramTarget target;
    double speed = 1.0;
    bool realTime = false;
    bool loop = false;
    std::int64_t from = 1;
    std::int64_t count = std::numeric_limits<std::int64_t>::max();
};

struct HeadsimRequest {
    std::string tcp; // loopback HOST:PORT; "" for none (127.0.0.1:4040 when no transport is given)
    std::string udp;
    bool wantPty = false;
    std::string pty; // the link to make to the pseudo-terminal, "" for none
    std::string faultsText;
    sim::FaultPlan faults;
    bool fast = false;
    bool log = false;
    int rate = 10;
    std::uint64_t seed = 1;
    sim::SimCommandSettings pings;
    bool boat = false; // the heads ride the simulated boat
    sim::BoatOptions boatOptions;
};

struct GpssimRequest {
    bool wantPty = false;
    std::string pty; // the link to make to the pseudo-terminal, "" for none
    std::string udp; // loopback HOST:PORT, "" for none
    std::string dropoutsText;
    sim::GpsFeedOptions feed;
    sim::BoatOptions boat;
    bool log = false;
};

struct SynthRequest {
    std::string out;
    sim::SynthOptions options;
    std::string dropoutsText;
};

struct NmeaRequest {
    std::string path;
    int baud = 4800;
    int selection = 2;
    int tickBytes = 0; // 0: what arrives in one tick at `baud`
};

struct TrackRequest {
    std::string file; // a data file (its track is FILE.nmea) or the track itself
    std::string out = "-"; // "-": CSV on standard output
};

using ToolRequest = std::variant<DumpRequest, RenderRequest, ExportRequest, ReplayRequest, HeadsimRequest,
    SynthRequest, NmeaRequest, GpssimRequest, TrackRequest>;

struct ToolCommandLine {
    std::optional<ToolRequest> request; // set when a subcommand is to run
    int exitStatus = 0; // without a request: 0 after --help or --version, 2 for a mistake
    std::string out; // for standard output (help, version)
    std::string err; // for standard error (the mistake, then how to ask for help)
};

// `args` are the arguments after the program name.
ToolCommandLine ParseToolCommandLine(const std::vector<std::string>& args);

// Every subcommand's --help text ("" the tool's own), for the tests.
std::string ToolHelp(const std::string& command);

} // namespace velmaris::tool
