// velmaris-tool export FILE --csv OUT [--samples] [--ini INI]: one CSV row
// per ping, streamed record by record; with a track beside FILE, each row
// says where the head was and where the boat headed.
// velmaris-tool export FILE --xtf OUT.xtf [--targets CSV] [--ini INI]: the
// side-scan pings as XTF, with the same navigation.

#include "ExportColumns.h"
#include "Subcommand.h"
#include "ToolDocument.h"
#include "XtfExport.h"

#include "files/DataFile.h"
#include "files/RecordReader.h"
#include "files/TrackFile.h"
#include "image/TargetsCsvReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace velmaris::tool {

namespace {

// A targets file larger than this is not one the station wrote.
constexpr std::size_t kTargetsFileCap = 16u << 20;

bool ReadTargets(const std::string& path, std::vector<MeasuredTarget>& targets)
{
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (in) {
        text.resize(kTargetsFileCap + 1);
        in.read(text.data(), std::streamsize(text.size()));
        text.resize(static_cast<std::size_t>(in.gcount()));
    }
    std::string error;
    if (!in && !in.eof())
        error = std::strerror(errno);
    else if (text.size() > kTargetsFileCap)
        error = "larger than a targets file";
    else if (ReadTargetsCsv(text, targets, error))
        return true;
    std::fprintf(
        stderr, "velmaris-tool export: cannot read the targets %s: %s\n", path.c_str(), error.c_str());
    return false;
}

int RunXtf(const ExportRequest& request)
{
    XtfExportOptions options;
    if (!request.targets.empty() && !ReadTargets(request.targets, options.targets))
        return kExitFailure;
    ToolDocument doc;
    DataFile file;
    SonarType fileType = SonarType::SerialK52A;
    if (!doc.Open(request.ini, request.file, file, fileType))
        return kExitFailure;

    // The track, when FILE has one that reads; its stamps give the host
    // clock's offset from UTC, and its fixes the host clock's error.
    std::string trackText;
    std::string trackError;
    NavigationTrack track;
    if (ReadTrackText(TrackPathFor(request.file), trackText, trackError)) {
        track = NavigationTrack::FromText(trackText);
        options.utcOffsetMinutes = TrackUtcOffset(trackText);
        if (options.utcOffsetMinutes)
            options.gpsClockLead = track.GpsClockLead(*options.utcOffsetMinutes);
    }
    const ExportNavigation navigation {&track, AntennaOffsetsOf(doc.settings)};
    if (!track.Empty())
        options.navigation = &navigation;
    options.fileName = std::filesystem::path(request.xtf).filename().string();

    std::FILE* out = std::fopen(request.xtf.c_str(), "wb");
    if (out == nullptr) {
        std::fprintf(
            stderr, "velmaris-tool export: cannot write %s: %s\n", request.xtf.c_str(), std::strerror(errno));
        return kExitFailure;
    }
    XtfExportCounts counts;
    bool written = ExportXtf(file, fileType, doc, out, options, counts,
        [](std::int64_t offset, const RecordFrame& frame) { ReportDamage("export", offset, frame); });
    written = std::fclose(out) == 0 && written;
    if (!written) {
        std::fprintf(stderr, "velmaris-tool export: cannot write %s\n", request.xtf.c_str());
        return kExitFailure;
    }
    const auto note = [](std::int64_t n, const char* what) {
        if (n > 0)
            std::fprintf(stderr, "velmaris-tool export: %lld %s\n", static_cast<long long>(n), what);
    };
    note(counts.fanPings, "Sector and Polar pings left out (XTF has no beam direction per ping)");
    note(counts.emptyPings, "'IPX' pings left out (no samples)");
    note(counts.unstamped, "side-scan pings left out (their time stamp does not read)");
    note(counts.untimedTargets, "targets left out (their ping time does not read)");
    note(counts.otherSide,
        counts.channel == XtfChannel::Port ? "pings look to starboard but went into the port channel"
                                           : "pings look to port but went into the starboard channel");
    if (counts.pings == 0) {
        std::fprintf(
            stderr, "velmaris-tool export: %s has no side-scan ping with samples\n", request.file.c_str());
        std::remove(request.xtf.c_str());
        return kExitFailure;
    }
    return kExitOk;
}

int RunCsv(const ExportRequest& request)
{
    const std::string& outPath = request.csv;
    ToolDocument doc;
    DataFile file;
    SonarType fileType = SonarType::SerialK52A;
    if (!doc.Open(request.ini, request.file, file, fileType))
        return kExitFailure;
    const bool toStdout = outPath == "-";
    std::FILE* out = toStdout ? stdout : std::fopen(outPath.c_str(), "wb");
    if (out == nullptr) {
        std::fprintf(
            stderr, "velmaris-tool export: cannot write %s: %s\n", outPath.c_str(), std::strerror(errno));
        return kExitFailure;
    }

    // The track, when FILE has one that reads.
    NavigationTrack track;
    std::string trackError;
    const bool positions = track.Load(TrackPathFor(request.file), trackError) && !track.Empty();
    const ExportNavigation navigation {&track, AntennaOffsetsOf(doc.settings)};

    CsvLine header;
    ExportHeader(header, request.samples, positions);
    bool written = std::fwrite(header.Text().data(), 1, header.Text().size(), out) == header.Text().size();
    std::int64_t rows = 0;
    written
        = ExportRecords(file, fileType, doc, out, request.samples, positions ? &navigation : nullptr, rows,
              [](std::int64_t offset, const RecordFrame& frame) { ReportDamage("export", offset, frame); })
        && written;
    written = (toStdout ? std::fflush(out) == 0 : std::fclose(out) == 0) && written;
    if (!written) {
        std::fprintf(stderr, "velmaris-tool export: cannot write %s\n", outPath.c_str());
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace

int Run(const ExportRequest& request)
{
    return request.xtf.empty() ? RunCsv(request) : RunXtf(request);
}

} // namespace velmaris::tool
