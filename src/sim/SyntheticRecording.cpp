#include "sim/SyntheticRecording.h"

#include "sim/SimRecordSource.h"
#include "protocol/TrackLine.h"
#include "sim/UtcTime.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace velmaris::sim {

std::string TagForFileName(const std::string& path)
{
    if (path.size() < 4 || path[path.size() - 4] != '.')
        return "";
    std::string ext = path.substr(path.size() - 3);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "52a")
        return "52A";
    if (ext == "52l")
        return "52L";
    return "";
}

std::string TrackPathFor(const std::string& recordingPath)
{
    return recordingPath + ".nmea";
}

namespace {

bool Fail(std::string* error, std::string message)
{
    if (error)
        *error = std::move(message);
    return false;
}

BoatOptions BoatFromStart(const SynthOptions& options)
{
    BoatOptions boat = options.boatOptions;
    boat.epoch = static_cast<double>(UnixMsFromUtc(kSynthStart)) / 1000.0;
    return boat;
}

} // namespace

bool WriteSyntheticTrack(
    const std::string& path, const SynthOptions& options, int periodMs, std::string* error)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return Fail(error, "cannot write '" + path + "': " + std::strerror(errno));
    GpsFeed feed(BoatFromStart(options), options.gps);
    const long long startMs = UnixMsFromUtc(kSynthStart);
    const long long lastMs = startMs + static_cast<long long>(std::max(0, options.pings - 1)) * periodMs;
    const double period = 1.0 / std::clamp(options.gps.rateHz, 0.1, 20.0);
    const double first = std::floor((startMs / 1000.0 - 1.0) / period);
    const double last = std::ceil((lastMs / 1000.0 + 1.0) / period);
    bool ok = true;
    for (double k = first; k <= last && ok; k += 1.0) {
        const double clock = k * period;
        const LocalTime stamp = UtcFromUnixMs(std::llround(clock * 1000.0));
        for (const std::string& sentence : feed.Epoch(clock)) {
            const std::string line = TrackLine(stamp, 0, sentence);
            ok = ok && std::fwrite(line.data(), 1, line.size(), file) == line.size();
        }
    }
    ok = std::fclose(file) == 0 && ok;
    if (!ok)
        return Fail(error, "writing '" + path + "' failed: " + std::strerror(errno));
    return true;
}

bool WriteSyntheticRecording(const std::string& path, const SynthOptions& options, std::string* error)
{
    auto fail = [error](std::string message) {
        if (error)
            *error = std::move(message);
        return false;
    };
    const std::string tag = TagForFileName(path);
    if (tag.empty())
        return fail("'" + path + "': the name must end in .52a (serial head) or .52l (Ethernet head)");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return fail("cannot write '" + path + "': " + std::strerror(errno));

    SimRecordOptions source;
    source.command = options.command;
    source.head.seed = options.seed;
    source.tag = tag;
    const bool boat = options.boat || options.track;
    if (boat)
        source.head.boat = BoatFromStart(options);
    SimRecordSource head(source);
    const int period = head.NominalPeriodMs();
    const LocalTime start = kSynthStart;
    const double startClock = static_cast<double>(UnixMsFromUtc(start)) / 1000.0;
    bool ok = true;
    for (int i = 0; i < options.pings && ok; ++i) {
        const long long ms = static_cast<long long>(i) * period;
        const std::optional<double> clock
            = boat ? std::optional<double>(startClock + static_cast<double>(ms) / 1000.0) : std::nullopt;
        const std::vector<std::uint8_t> record = head.NextRecord(AddMilliseconds(start, ms), period, clock);
        ok = std::fwrite(record.data(), 1, record.size(), file) == record.size();
    }
    ok = std::fclose(file) == 0 && ok;
    if (!ok)
        return fail("writing '" + path + "' failed: " + std::strerror(errno));
    if (options.track)
        return WriteSyntheticTrack(TrackPathFor(path), options, period, error);
    return true;
}

} // namespace velmaris::sim
