// Any command line of the tool: the first byte chooses the subcommand put in
// front (or none), the input's lines are the arguments. Parsing ends in a
// request or a usage error, never in anything else, and a request holds
// only values inside their declared ranges; a simulated head's address that
// is taken is always a loopback one.
#include "ToolRequests.h"
#include "sim/LoopbackAddress.h"
#include "station/ChartFiles.h"
#include "station/MosaicFiles.h"

#include "FuzzLines.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace velmaris::tool;

bool Loopback(const std::string& address)
{
    velmaris::sim::LoopbackEndpoint endpoint;
    return address.empty()
        || (velmaris::sim::ParseLoopbackEndpoint(address, 4040, endpoint, nullptr)
            && velmaris::sim::IsLoopbackHost(endpoint.host));
}

struct RequestInRange {
    bool operator()(const DumpRequest&) const { return true; }
    bool operator()(const ExportRequest&) const { return true; }
    bool operator()(const TrackRequest& r) const
    {
        return r.out == "-" || velmaris::ChartFormatForPath(r.out).has_value();
    }
    bool operator()(const MosaicRequest& r) const
    {
        return velmaris::MosaicFormatForPath(r.out).has_value() && r.from >= 1 && r.count >= 1
            && (r.cell == 0 || (r.cell >= 0.05 && r.cell <= 1000)) && r.altitude >= 0 && r.altitude <= 1000;
    }
    bool operator()(const RenderRequest& r) const
    {
        if (!r.animate.empty())
            return r.animation.fps >= 1 && r.animation.fps <= 100 && r.animation.pingsPerFrame >= 1
                && (r.animation.width == 0 || (r.animation.width >= 16 && r.animation.width <= 4000));
        return r.crop.w > 0 && r.crop.h > 0 && r.crop.x + r.crop.w <= 4000 && r.crop.y + r.crop.h <= 4000
            && (r.raw || r.format);
    }
    bool operator()(const ReplayRequest& r) const
    {
        return r.from >= 1 && r.count >= 1 && r.speed >= 0 && r.speed <= 1000 && r.target.length > 0;
    }
    bool operator()(const HeadsimRequest& r) const
    {
        return r.rate >= 1 && r.rate <= 1000 && r.pings.rangeMetres >= 1 && r.pings.rangeMetres <= 200
            && r.pings.step >= 1 && r.pings.step <= 8 && r.pings.gain >= 0 && r.pings.gain <= 40
            && Loopback(r.tcp) && Loopback(r.udp) && (r.wantPty || !r.tcp.empty() || !r.udp.empty());
    }
    bool operator()(const SynthRequest& r) const
    {
        return r.options.pings >= 1 && r.options.pings <= 1000000 && r.options.command.gain <= 40;
    }
    bool operator()(const GpssimRequest& r) const
    {
        return r.feed.rateHz >= 0.1 && r.feed.rateHz <= 20.0 && r.feed.badChecksumEvery >= 0
            && r.feed.talker.size() == 2 && r.boat.lines >= 2 && r.boat.speedKnots >= 0.0
            && r.boat.lineSpacing >= 2.0 && std::abs(r.boat.start.latitude) <= 80.0
            && r.feed.dropouts.length < r.feed.dropouts.every + (r.feed.dropouts.every == 0.0 ? 1.0 : 0.0)
            && Loopback(r.udp) && (r.wantPty || !r.udp.empty());
    }
    bool operator()(const NmeaRequest& r) const
    {
        return r.selection >= 0 && r.selection <= 3 && r.tickBytes >= 0 && r.tickBytes <= (1 << 20)
            && r.baud >= 4800 && r.baud <= 115200;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const std::array<const char*, 11> kCommands {"dump", "render", "nmea", "headsim", "export",
        "replay", "synth", "gpssim", "track", "mosaic", nullptr};
    std::vector<std::string> args;
    if (const char* command = kCommands[data[0] % kCommands.size()])
        args.push_back(command);
    const std::vector<std::string> words = velmaris::fuzz::SplitLines(data + 1, size - 1);
    args.insert(args.end(), words.begin(), words.end());

    const ToolCommandLine line = ParseToolCommandLine(args);
    if (line.request) {
        if (line.exitStatus != 0 || !line.err.empty() || !std::visit(RequestInRange {}, *line.request))
            __builtin_trap();
    } else if (line.exitStatus == 2) {
        if (line.err.find("usage: velmaris-tool") == std::string::npos)
            __builtin_trap();
    } else if (line.exitStatus != 0 || line.out.empty()) {
        __builtin_trap();
    }
    return 0;
}
