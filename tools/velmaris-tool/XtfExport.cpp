#include "XtfExport.h"

#include "files/TrackFile.h"
#include "protocol/NumberText.h"
#include "station/CursorPlaces.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace velmaris::tool {

namespace {

constexpr std::size_t kFlushAt = 256 * 1024;
constexpr const char* kProgramName = "VelTool";

constexpr double kClockLeadApplied = 1.0; // seconds

bool LeadApplied(const std::optional<int>& utcOffsetMinutes, const std::optional<double>& gpsClockLead)
{
    return utcOffsetMinutes && gpsClockLead && std::fabs(*gpsClockLead) >= kClockLeadApplied;
}

} // namespace

std::string XtfTimeNote(const std::optional<int>& utcOffsetMinutes, const std::optional<double>& gpsClockLead)
{
    if (!utcOffsetMinutes)
        return "Ping times: local time of the recording host";
    const int m = std::abs(*utcOffsetMinutes);
    char text[96];
    if (LeadApplied(utcOffsetMinutes, gpsClockLead))
        std::snprintf(text, sizeof text, "Ping times: GPS UTC (host clock UTC%c%02d:%02d, %.1f s %s)",
            *utcOffsetMinutes < 0 ? '-' : '+', m / 60 % 100, m % 60, std::fabs(*gpsClockLead),
            *gpsClockLead > 0 ? "slow" : "fast");
    else
        std::snprintf(text, sizeof text, "Ping times: UTC (host clock was UTC%c%02d:%02d)",
            *utcOffsetMinutes < 0 ? '-' : '+', m / 60 % 100, m % 60);
    return text;
}

double XtfTimeShift(const std::optional<int>& utcOffsetMinutes, const std::optional<double>& gpsClockLead)
{
    if (!utcOffsetMinutes)
        return 0.0;
    return *utcOffsetMinutes * 60.0 - (LeadApplied(utcOffsetMinutes, gpsClockLead) ? *gpsClockLead : 0.0);
}

namespace {

// A target's ping time and its number in the list, in time order.
struct PendingNote {
    double seconds;
    std::size_t number;
};

} // namespace

XtfChannel SideOf(const PingRecord& ping, const SonarSettings& settings, const AntennaOffsets& offsets)
{
    const double fromBow
        = NormalisedDegrees(HeadBearingOfScreen(ping.headAngle, settings) + offsets.headZeroToBow);
    return fromBow < 180.0 ? XtfChannel::Starboard : XtfChannel::Port;
}

std::string TargetNoteText(const MeasuredTarget& t, std::size_t number)
{
    const auto end = [](double range, const std::optional<double>& bearing) {
        return FormatFixed(range, 2) + " m" + (bearing ? " at " + FormatFixed(*bearing, 1) + " deg" : "");
    };
    std::string text = "Target " + std::to_string(number) + ": ping " + t.pingDate + " " + t.pingTime
        + ", size " + FormatFixed(t.size, 2) + " m, from " + end(t.anchorRange, t.anchorBearing) + " to "
        + end(t.endRange, t.endBearing);
    if (t.places)
        text += ", middle " + FormatFixed(t.places->middle.latitude, 7) + " "
            + FormatFixed(t.places->middle.longitude, 7);
    return text;
}

bool ExportXtf(DataFile& file, SonarType fileType, ToolDocument& doc, std::FILE* out,
    const XtfExportOptions& options, XtfExportCounts& counts,
    const std::function<void(std::int64_t offset, const RecordFrame& frame)>& onDamage)
{
    counts = XtfExportCounts();
    const double utcShift = XtfTimeShift(options.utcOffsetMinutes, options.gpsClockLead);
    const std::string note = XtfTimeNote(options.utcOffsetMinutes, options.gpsClockLead);
    XtfFileInfo info {kProgramName, fileType == SonarType::SerialK52A ? "K52A" : "K52L", note,
        options.fileName, XtfChannel::Port, 0.0f};

    std::vector<PendingNote> pending;
    for (std::size_t i = 0; i < options.targets.size(); ++i) {
        const MeasuredTarget& t = options.targets[i];
        if (const auto seconds = PingStampSeconds(t.pingDate, t.pingTime, ""))
            pending.push_back({*seconds, i + 1});
        else
            ++counts.untimedTargets;
    }
    std::stable_sort(pending.begin(), pending.end(),
        [](const PendingNote& a, const PendingNote& b) { return a.seconds < b.seconds; });
    std::size_t nextNote = 0;

    std::vector<std::uint8_t> buffer;
    buffer.reserve(kFlushAt + 4096);
    auto header = XtfFileHeader(info);
    bool written = std::fwrite(header.data(), 1, header.size(), out) == header.size();
    const auto flush = [&] {
        written = written && std::fwrite(buffer.data(), 1, buffer.size(), out) == buffer.size();
        buffer.clear();
    };
    // The notes of every target whose second ended before `seconds`.
    const auto notesBefore = [&](double seconds) {
        for (; nextNote < pending.size() && pending[nextNote].seconds + 1.0 <= seconds; ++nextNote) {
            const PendingNote& n = pending[nextNote];
            AppendXtfNote(XtfTimeOfSeconds(n.seconds - utcShift),
                TargetNoteText(options.targets[n.number - 1], n.number), buffer);
            ++counts.notes;
        }
    };

    const AntennaOffsets offsets = options.navigation ? options.navigation->offsets : AntennaOffsets();
    WalkRecords(
        file, fileType,
        [&](const RecordFrame& frame) {
            ++counts.records;
            if (!doc.Decode(frame).valid)
                return;
            const PingRecord& p = doc.ping;
            const SonarSettings& s = doc.settings;
            if (s.sectorMode != DisplayMode::SideScan) {
                ++counts.fanPings;
                return;
            }
            const std::size_t samples
                = std::min(static_cast<std::size_t>(std::max(p.echoCount, 0)), frame.bodySize);
            if (samples == 0) {
                ++counts.emptyPings;
                return;
            }
            const auto seconds = PingStampSeconds(p.date, p.time, p.hundredths);
            if (!seconds) {
                ++counts.unstamped;
                return;
            }
            notesBefore(*seconds);
            const CommandMessage& c = doc.command;
            const XtfChannel side = SideOf(p, s, offsets);
            if (counts.pings == 0) {
                info.channel = side;
                info.frequencyKhz = 5.0f * c[CommandMessage::kFrequency] + 175.0f;
            } else if (side != info.channel) {
                ++counts.otherSide;
            }
            XtfPing x;
            x.time = XtfTimeOfSeconds(*seconds - utcShift);
            x.pingNumber = static_cast<std::uint32_t>(counts.pings);
            x.soundVelocity = s.speedOfSound;
            x.slantRange = p.replyRange;
            x.secondsPerPing = p.loopTime / 1000.0;
            x.frequencyKhz = static_cast<std::uint16_t>(5 * c[CommandMessage::kFrequency] + 175);
            x.gainCode = c[CommandMessage::kGain];
            x.headBearing = HeadBearingOfScreen(p.headAngle, s);
            const PingNavigation nav = NavigationOfPing(options.navigation, p);
            if (nav.hasPosition) {
                x.sensorLatitude = nav.head.latitude;
                x.sensorLongitude = nav.head.longitude;
                x.shipLatitude = nav.antenna.latitude;
                x.shipLongitude = nav.antenna.longitude;
                x.fixTime = XtfTimeOfSeconds(nav.fixSeconds - utcShift);
                x.hasFixTime = true;
            }
            if (nav.HasHeading())
                x.heading = nav.heading;
            if (nav.hasSpeed)
                x.speedKnots = nav.speedKnots;
            x.samples = std::span<const std::uint8_t>(frame.body.data(), samples);
            AppendXtfPing(x, buffer);
            ++counts.pings;
            if (buffer.size() >= kFlushAt)
                flush();
        },
        [&](std::int64_t offset, const RecordFrame& frame) {
            if (onDamage)
                onDamage(offset, frame);
        });
    notesBefore(std::numeric_limits<double>::infinity());
    flush();
    counts.channel = info.channel;
    header = XtfFileHeader(info);
    written = written && std::fseek(out, 0, SEEK_SET) == 0
        && std::fwrite(header.data(), 1, header.size(), out) == header.size();
    return written;
}

} // namespace velmaris::tool
