// The options of the simulated boat and its GPS (headsim, gpssim, synth),
// and gpssim's own.

#include "CommandOptions.h"

#include "sim/LoopbackAddress.h"

#include <cmath>
#include <cstdlib>

namespace velmaris::tool {

namespace {

// "LAT,LON" in decimal degrees, or nothing.
bool ParseStart(const std::string& text, sim::GeoPoint& out)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        return false;
    const std::string lat = text.substr(0, comma), lon = text.substr(comma + 1);
    char* end = nullptr;
    out.latitude = std::strtod(lat.c_str(), &end);
    if (lat.empty() || *end != '\0')
        return false;
    out.longitude = std::strtod(lon.c_str(), &end);
    if (lon.empty() || *end != '\0')
        return false;
    return std::abs(out.latitude) <= 80.0 && std::abs(out.longitude) <= 180.0;
}

} // namespace

void DeclareBoatOptions(CommandDeclaration& c, sim::BoatOptions& boat)
{
    c.Check(c.App()
                .add_option_function<std::string>(
                    "--start", [&boat](const std::string& text) { ParseStart(text, boat.start); },
                    "where the survey starts, decimal degrees (south and west negative)")
                ->type_name("LAT,LON")
                ->default_str("59.43,10.55"),
        [](const std::string& text) {
            sim::GeoPoint p;
            return ParseStart(text, p)
                ? std::string()
                : "--start must be LAT,LON in degrees, latitude within 80 of the equator";
        });
    c.Number("--knots", boat.speedKnots, 0.0, 12.0, "the boat's speed over the ground");
    c.Number("--line-length", boat.lineLength, 10.0, 5000.0, "metres of each survey line");
    c.Number("--line-spacing", boat.lineSpacing, 2.0, 500.0, "metres between neighbouring lines");
    c.Whole("--lines", boat.lines, 2, 100, "survey lines side by side");
    c.Number("--line-bearing", boat.lineBearing, 0.0, 360.0,
        "degrees true of the first line; the others lie to its starboard");
}

void DeclareGpsFeedOptions(
    CommandDeclaration& c, sim::GpsFeedOptions& feed, const std::string& rateName, std::string& dropoutsText)
{
    c.Text(
        "--talker", feed.talker, "XX", "talker of every sentence (GP, GN, ...)", [](const std::string& text) {
            return sim::IsTalker(text) ? std::string()
                                       : "--talker must be two capital letters, such as GP or GN";
        });
    c.Number(rateName, feed.rateHz, 0.1, 20.0, "GPS fixes a second");
    c.Whole("--bad-checksums", feed.badChecksumEvery, 0, 1000000,
        "every Nth sentence gets a wrong checksum (0: none)");
    c.Text("--dropouts", dropoutsText, "EVERY:LENGTH[:nofix]",
        "no fix for the last LENGTH seconds of every EVERY: silence, or with nofix sentences without a fix",
        [](const std::string& text) {
            std::string error;
            return sim::ParseDropouts(text, &error) ? std::string() : error;
        });
}

CommandDeclaration& DeclareGpssim(ToolParser& parser, GpssimRequest& request)
{
    CommandDeclaration& c = parser.Add("gpssim", "run the simulated boat's GPS", Wording::Simulator);
    c.App().description(
        "sends RMC, GGA, VTG and HDT sentences for the simulated boat's pose, at whole seconds of the clock, "
        "over a new pseudo-terminal (open its link as the GPS receiver's serial port) or as UDP datagrams to "
        "a loopback address, until interrupted (Ctrl-C or SIGTERM). A headsim --boat with the same --seed "
        "and survey options sees the world from the same pose.");
    CLI::Option* pty = c.Text("--pty", request.pty, "LINK",
                            "send over a new pseudo-terminal, with a symbolic link at LINK when given")
                           ->expected(0, 1);
    CLI::Option* udp = c.Text(
        "--udp", request.udp, "HOST:PORT", "send each sentence as a datagram", [](const std::string& text) {
            sim::LoopbackEndpoint endpoint;
            std::string error;
            return sim::ParseLoopbackEndpoint(text, 10110, endpoint, &error) ? std::string() : error;
        });
    DeclareGpsFeedOptions(c, request.feed, "--rate", request.dropoutsText);
    DeclareSeed(c, request.boat.seed);
    DeclareBoatOptions(c, request.boat);
    c.Flag("--log", request.log, "each sentence on standard output");
    c.Rules([&request, pty, udp] {
        request.wantPty = pty->count() > 0;
        if (!request.wantPty && udp->count() == 0)
            return std::string("give --pty [LINK] or --udp HOST:PORT");
        if (!request.dropoutsText.empty())
            request.feed.dropouts = *sim::ParseDropouts(request.dropoutsText, nullptr);
        return std::string();
    });
    return c;
}

} // namespace velmaris::tool
