#pragma once
// The declarations of every subcommand's options (FileCommandOptions.cpp:
// dump, render, export, replay; SimCommandOptions.cpp: headsim, synth,
// nmea), each binding the fields of its request.

#include "CommandLine.h"
#include "ToolRequests.h"

namespace velmaris::tool {

// One request of each kind; the parse fills the one named on the command line.
struct ToolRequestFields {
    DumpRequest dump;
    RenderRequest render;
    ExportRequest exportCsv;
    ReplayRequest replay;
    HeadsimRequest headsim;
    SynthRequest synth;
    NmeaRequest nmea;
    GpssimRequest gpssim;
    TrackRequest track;
    MosaicRequest mosaic;
};

CommandDeclaration& DeclareDump(ToolParser& parser, DumpRequest& request);
CommandDeclaration& DeclareRender(ToolParser& parser, RenderRequest& request);
CommandDeclaration& DeclareExport(ToolParser& parser, ExportRequest& request);
CommandDeclaration& DeclareReplay(ToolParser& parser, ReplayRequest& request);
CommandDeclaration& DeclareHeadsim(ToolParser& parser, HeadsimRequest& request);
CommandDeclaration& DeclareSynth(ToolParser& parser, SynthRequest& request);
CommandDeclaration& DeclareNmea(ToolParser& parser, NmeaRequest& request);
CommandDeclaration& DeclareGpssim(ToolParser& parser, GpssimRequest& request); // BoatCommandOptions.cpp
CommandDeclaration& DeclareTrack(ToolParser& parser, TrackRequest& request);
CommandDeclaration& DeclareMosaic(ToolParser& parser, MosaicRequest& request);

// All of them, bound to `fields`, each with what takes its request once parsed.
using DeclaredCommands = std::vector<std::pair<const CommandDeclaration*, std::function<ToolRequest()>>>;
DeclaredCommands DeclareToolCommands(ToolParser& parser, ToolRequestFields& fields);

// --mode, --range, --step and --gain of the simulated pings (headsim's UDP
// pings and synth).
void DeclarePingOptions(CommandDeclaration& command, sim::SimCommandSettings& settings);

// --seed of the simulated echoes and the boat.
void DeclareSeed(CommandDeclaration& command, std::uint64_t& seed);

// The simulated boat's survey (--start, --knots, --line-length,
// --line-spacing, --lines, --line-bearing) for headsim, gpssim and synth.
void DeclareBoatOptions(CommandDeclaration& command, sim::BoatOptions& boat);

// The simulated GPS's sentences (--talker, the rate under `rateName`,
// --bad-checksums, --dropouts into `dropoutsText`, parsed by the rules).
void DeclareGpsFeedOptions(CommandDeclaration& command, sim::GpsFeedOptions& feed,
    const std::string& rateName, std::string& dropoutsText);

} // namespace velmaris::tool
