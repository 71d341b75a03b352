// velmaris-tool track FILE [--out OUT]: the vessel track of a recording
// from the track file beside it, as CSV, or GPX, GeoJSON or KML through the
// chart writer.

#include "Subcommand.h"

#include "files/PlatformFiles.h"
#include "files/TrackFile.h"
#include "links/Navigation.h"
#include "station/ChartFiles.h"
#include "station/GisModule.h"

#include <cstdio>

namespace velmaris::tool {

int Run(const TrackRequest& request)
{
    const bool isTrack
        = request.file.size() > 5 && request.file.compare(request.file.size() - 5, 5, kTrackExtension) == 0;
    const std::string path = isTrack ? request.file : TrackPathFor(request.file);
    std::string text;
    std::string error;
    if (!ReadTrackText(path, text, error)) {
        std::fprintf(stderr, "velmaris-tool track: no track %s: %s\n", path.c_str(), error.c_str());
        return kExitFailure;
    }
    // The stamps' offset from UTC, from the first line that has one.
    const int utcOffset = TrackUtcOffset(text).value_or(0);
    const std::vector<TrackPoint> points = TrackPoints(NavigationTrack::FromText(text), utcOffset);
    if (points.empty()) {
        std::fprintf(stderr, "velmaris-tool track: %s holds no valid fix\n", path.c_str());
        return kExitFailure;
    }
    const ChartFormat format = request.out == "-" ? ChartFormat::Csv : *ChartFormatForPath(request.out);
    if (format == ChartFormat::Csv) {
        const std::string csv = TrackCsv(points);
        const bool written = request.out == "-"
            ? std::fwrite(csv.data(), 1, csv.size(), stdout) == csv.size() && std::fflush(stdout) == 0
            : WriteFileAtomically(request.out, csv, &error);
        if (written)
            return kExitOk;
    } else {
        if (ModuleChartWriter().WriteTrack(request.out, format, points, error))
            return kExitOk;
    }
    std::fprintf(stderr, "velmaris-tool track: cannot write %s: %s\n", request.out.c_str(), error.c_str());
    return kExitFailure;
}

} // namespace velmaris::tool
