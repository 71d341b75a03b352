#pragma once
// The columns of `velmaris-tool export`: one row per ping with what an
// analyst's spreadsheet wants of it, read from a record the tool's document
// has just decoded.

#include "CsvLine.h"
#include "ToolDocument.h"

#include "files/RecordReader.h"
#include "links/Navigation.h"

#include <cstdint>
#include <cstdio>
#include <functional>

namespace velmaris::tool {

// The most echo samples a ping has ('IGX'); with samples, every row has this
// many sample columns, those a ping lacks left empty.
inline constexpr int kExportSampleColumns = 500;

// index, date, time, hundredths, tag, mode, range (m), gain (dB),
// head angle (degrees), step, train (degrees), sector width (degrees),
// sound velocity (m/s), profile range (m) [, latitude, longitude, heading
// (degrees)] [, sample 1 .. sample 500].
void ExportHeader(CsvLine& line, bool samples, bool positions = false);

// The track of a recording, for the position columns: the head's latitude
// and longitude (degrees, 7 decimals) and the heading, each blank where the
// track has none for the ping.
struct ExportNavigation {
    const NavigationTrack* track = nullptr;
    AntennaOffsets offsets;
};

// The navigation of the ping just decoded, as its row gives it: none
// without a track or a time stamp that reads.
PingNavigation NavigationOfPing(const ExportNavigation* navigation, const PingRecord& ping);

// The row of record number `index` (from 1), `frame` decoded into `doc`;
// with `navigation`, the position columns.
void ExportRow(CsvLine& line, std::int64_t index, const RecordFrame& frame, const ToolDocument& doc,
    bool samples, const ExportNavigation* navigation = nullptr);

// The profile range in metres: the ping's profile value (centimetres at
// 1500 m/s, as the painters take it) at the recorded sound velocity.
double ProfileRangeMetres(const PingRecord& ping, const SonarSettings& settings);

// Streams the rows of every ping of `file` that decodes to `out`, a block
// at a time (rows are numbered by record, so a record that does not decode
// still takes its number); damaged stretches go to `onDamage`. `rows` gets
// the records walked. False when a write to `out` failed.
bool ExportRecords(DataFile& file, SonarType fileType, ToolDocument& doc, std::FILE* out, bool samples,
    const ExportNavigation* navigation, std::int64_t& rows,
    const std::function<void(std::int64_t offset, const RecordFrame& frame)>& onDamage = {});

} // namespace velmaris::tool
