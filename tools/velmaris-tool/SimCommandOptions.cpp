// The options of the simulator's subcommands (headsim, synth) and of nmea.

#include "CommandOptions.h"

#include "sim/LoopbackAddress.h"
#include "station/CommandRules.h"

namespace velmaris::tool {

namespace {

constexpr long long kLargestSeed = 1LL << 62;

std::string LoopbackCheck(const std::string& text)
{
    sim::LoopbackEndpoint endpoint;
    std::string error;
    return sim::ParseLoopbackEndpoint(text, kHeadTcpPort, endpoint, &error) ? std::string() : error;
}

} // namespace

void DeclareSeed(CommandDeclaration& c, std::uint64_t& seed)
{
    c.Whole("--seed", seed, 0, kLargestSeed,
        "seed of the simulated echoes (and the boat's yaw); the same seed gives the same pings",
        "--seed must be a whole number from 0 to " + std::to_string(kLargestSeed));
}

void DeclarePingOptions(CommandDeclaration& c, sim::SimCommandSettings& settings)
{
    c.Check(
        c.App()
            .add_option_function<std::string>(
                "--mode", [&settings](const std::string& text) { settings.mode = *sim::ParseSimMode(text); },
                "display mode of the pings: sector, polar or sidescan")
            ->type_name("M")
            ->default_str("polar"),
        [](const std::string& text) {
            return sim::ParseSimMode(text) ? std::string() : "--mode must be sector, polar or sidescan";
        });
    c.Whole("--range", settings.rangeMetres, 1, 200, "range in metres", "--range must be 1 to 200 metres");
    c.Whole("--step", settings.step, 1, 8, "step code of the head", "--step must be a step code 1 to 8");
    c.Whole("--gain", settings.gain, 0, 40, "gain in dB", "--gain must be 0 to 40 dB");
}

CommandDeclaration& DeclareHeadsim(ToolParser& parser, HeadsimRequest& request)
{
    CommandDeclaration& c = parser.Add("headsim", "run simulated heads", Wording::Simulator);
    c.App().description("runs simulated heads on loopback addresses (127.0.0.0/8, ::1, localhost) until "
                        "interrupted (Ctrl-C or SIGTERM)");
    CLI::Option* tcp = c.Text("--tcp", request.tcp, "HOST:PORT",
        "simulated Ethernet head K52L (port 0: a free port, printed); the default when no transport is given "
        "is 127.0.0.1:4040",
        LoopbackCheck);
    CLI::Option* pty
        = c.Text("--pty", request.pty, "LINK",
               "simulated serial head K52A on a new pseudo-terminal, with a symbolic link at LINK "
               "when given")
              ->expected(0, 1);
    CLI::Option* udp = c.Text("--udp", request.udp, "HOST:PORT",
        "send pings as datagrams in the record layout, --rate a second", LoopbackCheck);
    c.Whole("--rate", request.rate, 1, 1000, "UDP pings a second", "--rate must be 1 to 1000 per second");
    DeclareSeed(c, request.seed);
    c.Text("--faults", request.faultsText, "LIST",
        "comma list of name=every[:a[:b]]: drop=N, delay=N:MS, split=N:K:MS, garbage=N, close=N (TCP), "
        "undersize=N, oversize=N, badlength=N (UDP)",
        [](const std::string& text) {
            std::string error;
            return sim::FaultPlan::Parse(text, &error) ? std::string() : error;
        });
    c.Flag("--fast", request.fast, "answer at once instead of after the ping time");
    c.Flag("--log", request.log, "one line per ping on standard output");
    DeclarePingOptions(c, request.pings);
    c.Flag("--boat", request.boat,
        "the heads ride the simulated boat over targets fixed in the world (run gpssim with the same --seed "
        "and survey for its GPS)");
    DeclareBoatOptions(c, request.boatOptions);
    c.Rules([&request, tcp, pty, udp] {
        request.boatOptions.seed = request.seed;
        request.wantPty = pty->count() > 0;
        if (tcp->count() == 0 && !request.wantPty && udp->count() == 0)
            request.tcp = "127.0.0.1:" + std::to_string(kHeadTcpPort);
        request.faults = *sim::FaultPlan::Parse(request.faultsText, nullptr);
        return std::string();
    });
    return c;
}

CommandDeclaration& DeclareSynth(ToolParser& parser, SynthRequest& request)
{
    CommandDeclaration& c
        = parser.Add("synth", "write a synthetic recording (.52a/.52l)", Wording::Simulator);
    c.App().description("writes a recording of a simulated dive: OUT ending in .52a holds serial-head (K52A) "
                        "records, .52l Ethernet-head (K52L) records. The same options give the same file.");
    c.Positional("OUT", request.out, "the recording to write");
    c.Whole("--pings", request.options.pings, 1, 1000000, "pings to write");
    DeclarePingOptions(c, request.options.command);
    DeclareSeed(c, request.options.seed);
    c.Flag(
        "--boat", request.options.boat, "the head rides the simulated boat from its start at the first ping");
    c.Flag("--track", request.options.track,
        "also write the boat's GPS sentences beside the recording, in OUT.nmea (implies --boat)");
    DeclareBoatOptions(c, request.options.boatOptions);
    DeclareGpsFeedOptions(c, request.options.gps, "--gps-rate", request.dropoutsText);
    c.Rules([&request] {
        request.options.boatOptions.seed = request.options.seed;
        request.options.gps.dropouts = request.dropoutsText.empty()
            ? sim::GpsDropouts {}
            : *sim::ParseDropouts(request.dropoutsText, nullptr);
        return sim::TagForFileName(request.out).empty() ? "'" + request.out + "' must end in .52a or .52l"
                                                        : std::string();
    });
    return c;
}

CommandDeclaration& DeclareNmea(ToolParser& parser, NmeaRequest& request)
{
    CommandDeclaration& c = parser.Add("nmea", "decode GPS sentences as the station does", Wording::Files);
    c.App().description(
        "decodes NMEA sentences as the station's GPS input does and prints the six texts (time, date, "
        "latitude, longitude, speed, course) as one JSON line after every decoded sentence, then a last line "
        "with \"final\":true; after a heading sentence (HDT, HDG, THS) the lines add its heading. A device "
        "or a network source is read until Ctrl-C.");
    c.Positional("FILE", request.path,
        "a capture file, a receiver's serial device, udp://[ADDR]:PORT (datagrams heard on loopback unless "
        "ADDR names another address) or tcp://HOST:PORT",
        "FILE|DEVICE|udp://[ADDR]:PORT|tcp://HOST:PORT");
    std::vector<long long> rates;
    for (int i = 0; i < 6; ++i)
        rates.push_back(GpsBaudForIndex(i));
    c.OneOf("--baud", request.baud, rates,
        "rate of the line; a device is read at it, a file in chunks of what arrives in 200 ms at it");
    c.Whole("--selection", request.selection, 0, 3, "0 GLL/VTG, 1 GGA/VTG, 2 RMC (the station's), 3 VTG");
    c.Whole("--tick-bytes", request.tickBytes, 1, 1 << 20, "chunk size for a file instead")
        ->default_str("what arrives in 200 ms");
    return c;
}

DeclaredCommands DeclareToolCommands(ToolParser& parser, ToolRequestFields& fields)
{
    const auto take = [](auto& request) { return [&request] { return ToolRequest(std::move(request)); }; };
    return {
        {&DeclareDump(parser, fields.dump), take(fields.dump)},
        {&DeclareExport(parser, fields.exportCsv), take(fields.exportCsv)},
        {&DeclareHeadsim(parser, fields.headsim), take(fields.headsim)},
        {&DeclareNmea(parser, fields.nmea), take(fields.nmea)},
        {&DeclareRender(parser, fields.render), take(fields.render)},
        {&DeclareReplay(parser, fields.replay), take(fields.replay)},
        {&DeclareSynth(parser, fields.synth), take(fields.synth)},
        {&DeclareGpssim(parser, fields.gpssim), take(fields.gpssim)},
        {&DeclareTrack(parser, fields.track), take(fields.track)},
        {&DeclareMosaic(parser, fields.mosaic), take(fields.mosaic)},
    };
}

} // namespace velmaris::tool
