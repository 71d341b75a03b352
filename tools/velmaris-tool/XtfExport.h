#pragma once
// `velmaris-tool export --xtf`: the side-scan pings of a recording as an
// XTF file (files/XtfFile.h) of one sonar channel, port or starboard by the
// side the head looks to in the first ping exported. Each ping takes its
// echo bytes, range, sound velocity, time and the navigation the CSV export
// gives it (the head's position, the antenna's, heading and speed from the
// track); measured targets go in as notes after the pings of their second.
//
// Sector and polar pings have no place in the format (it has no beam
// direction per ping) and 'IPX' pings have no samples: both are skipped and
// counted, as are pings whose time stamp does not read.
//
// Ping times are UTC when the track gives the host clock's offset from it,
// the host's local time otherwise; the file header's note says which. A
// host clock a second or more off the receivers' time is set right by the
// track's fixes (a lead under a second is mostly the receiver's output
// delay, and is left alone).
//
// One thread; streams a block at a time, so memory stays the same for a
// recording of any size.

#include "ExportColumns.h"
#include "ToolDocument.h"

#include "files/XtfFile.h"
#include "image/MeasuredTargets.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmaris::tool {

struct XtfExportOptions {
    const ExportNavigation* navigation = nullptr; // none: every navigation field 0
    std::optional<int> utcOffsetMinutes; // of the host clock, east of UTC
    // Seconds GPS time ran ahead of the host clock's UTC (the track's
    // GpsClockLead); ping times follow GPS time when it is a second or more.
    std::optional<double> gpsClockLead;
    std::vector<MeasuredTarget> targets;
    std::string fileName; // the header's file name
};

struct XtfExportCounts {
    std::int64_t records = 0; // whole records walked
    std::int64_t pings = 0; // sonar packets written
    std::int64_t fanPings = 0; // Sector and Polar pings skipped
    std::int64_t emptyPings = 0; // side-scan pings without samples ('IPX') skipped
    std::int64_t unstamped = 0; // side-scan pings whose time stamp does not read, skipped
    std::int64_t otherSide = 0; // pings looking to the side opposite the channel's
    std::int64_t notes = 0;
    std::int64_t untimedTargets = 0; // targets whose ping time does not read, left out
    XtfChannel channel = XtfChannel::Port;
};

// The side a ping looks to: starboard when its bearing from the bow (head
// bearing plus the head's zero to the bow) lies in [0, 180), port otherwise.
XtfChannel SideOf(const PingRecord& ping, const SonarSettings& settings, const AntennaOffsets& offsets);

// The file header's note on the ping times (at most 63 characters).
std::string XtfTimeNote(
    const std::optional<int>& utcOffsetMinutes, const std::optional<double>& gpsClockLead);

// Seconds to subtract from a ping's local stamp to give the file's time.
double XtfTimeShift(const std::optional<int>& utcOffsetMinutes, const std::optional<double>& gpsClockLead);

// The note of target number `number` (from 1).
std::string TargetNoteText(const MeasuredTarget& target, std::size_t number);

// Writes the whole XTF file of `file` to `out` (from its start: the header
// is written again at the end with the channel found). False when a write
// failed. `counts` says what went in and what was left out.
bool ExportXtf(DataFile& file, SonarType fileType, ToolDocument& doc, std::FILE* out,
    const XtfExportOptions& options, XtfExportCounts& counts,
    const std::function<void(std::int64_t offset, const RecordFrame& frame)>& onDamage = {});

} // namespace velmaris::tool
