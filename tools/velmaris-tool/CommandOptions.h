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
};

CommandDeclaration& DeclareDump(ToolParser& parser, DumpRequest& request);
CommandDeclaration& DeclareRender(ToolParser& parser, RenderRequest& request);
CommandDeclaration& DeclareExport(ToolParser& parser, ExportRequest& request);
CommandDeclaration& DeclareReplay(ToolParser& parser, ReplayRequest& request);
CommandDeclaration& DeclareHeadsim(ToolParser& parser, HeadsimRequest& request);
CommandDeclaration& DeclareSynth(ToolParser& parser, SynthRequest& request);
CommandDeclaration& DeclareNmea(ToolParser& parser, NmeaRequest& request);

// All of them, bound to `fields`, each with what takes its request once parsed.
using DeclaredCommands = std::vector<std::pair<const CommandDeclaration*, std::function<ToolRequest()>>>;
DeclaredCommands DeclareToolCommands(ToolParser& parser, ToolRequestFields& fields);

// --mode, --range, --step and --gain of the simulated pings (headsim's UDP
// pings and synth).
void DeclarePingOptions(CommandDeclaration& command, sim::SimCommandSettings& settings);

} // namespace velmaris::tool
