#include "MosaicMaking.h"

#include "Progress.h"
#include "RecordCursor.h"
#include "Subcommand.h"
#include "ToolDocument.h"

#include "files/TrackFile.h"
#include "links/Navigation.h"
#include "station/MosaicSurvey.h"

#include <cstdio>
#include <new>

namespace velmaris::tool {

namespace {

constexpr const char* kCommand = "velmaris-tool mosaic";

// Walks the records the request picks, handing each ping that places
// something to `onPing`. The first pass reports damage and leaves the
// levels out; the second is quiet about the same damage.
template <typename OnPing>
void WalkPings(const MosaicRequest& request, DataFile& file, SonarType fileType, ToolDocument& doc,
    const NavigationTrack& track, ProgressLine& progress, bool firstPass, OnPing onPing)
{
    RecordCursor cursor(file, fileType);
    RecordFrame frame;
    MosaicPing ping;
    const auto quiet = [](std::int64_t, const RecordFrame&) {};
    const auto report = [](std::int64_t offset, const RecordFrame& f) { ReportDamage("mosaic", offset, f); };
    const bool first = firstPass;
    const std::string what = first ? "reading" : "placing";
    while (first ? cursor.Next(frame, report) : cursor.Next(frame, quiet)) {
        const std::int64_t number = cursor.Number();
        if (number < request.from)
            continue;
        if (number - request.from >= request.count)
            break;
        if (progress.Due())
            progress.Show(what + " " + ProgressBar(frame.NextOffset(), file.Length(), 40));
        if (!doc.Decode(frame).valid)
            continue;
        const auto seconds = PingStampSeconds(doc.ping.date, doc.ping.time, doc.ping.hundredths);
        if (!seconds)
            continue;
        const PingNavigation navigation = track.At(*seconds, AntennaOffsetsOf(doc.settings));
        const std::span<const std::uint8_t> echoes(frame.body.data(), frame.bodySize);
        if (MakeMosaicPing(doc.ping, echoes, doc.settings, doc.command, navigation, ping, !first))
            onPing(ping);
    }
}

} // namespace

int MakeMosaic(const MosaicRequest& request, const MosaicWriter& writer, MosaicOutcome* outcome)
{
    ToolDocument doc;
    DataFile file;
    SonarType fileType = SonarType::SerialK52A;
    if (!doc.Open(request.ini, request.file, file, fileType))
        return kExitFailure;
    const std::string trackPath = TrackPathFor(request.file);
    NavigationTrack track;
    std::string error;
    if (!track.Load(trackPath, error)) {
        std::fprintf(stderr, "%s: no track %s: %s\n", kCommand, trackPath.c_str(), error.c_str());
        return kExitFailure;
    }
    if (track.Fixes().empty()) {
        std::fprintf(stderr, "%s: %s holds no valid fix\n", kCommand, trackPath.c_str());
        return kExitFailure;
    }

    ProgressLine progress(stderr, IsTerminal(stderr));
    MosaicExtent extent;
    WalkPings(
        request, file, fileType, doc, track, progress, true, [&](const MosaicPing& p) { extent.Add(p); });
    if (extent.Empty()) {
        progress.Finish();
        std::fprintf(stderr, "%s: no ping of %s has a position and a heading in %s\n", kCommand,
            request.file.c_str(), trackPath.c_str());
        return kExitFailure;
    }

    const UtmZone zone = UtmZoneOf(extent.Centre());
    const std::unique_ptr<MapProjection> projection = writer.Projection(zone, error);
    if (!projection) {
        progress.Finish();
        std::fprintf(stderr, "%s: %s\n", kCommand, error.c_str());
        return kExitFailure;
    }
    const bool chosen = request.cell > 0;
    double cell = chosen ? request.cell : std::max(kSmallestMosaicCell, extent.FinestSpacing());
    std::optional<MosaicFrame> frame = MosaicFrameFor(extent, zone, *projection, cell, error);
    // The finest spacing over a wide survey: as fine as the caps allow.
    for (int round = 0; frame && !WithinCaps(*frame) && !chosen && round < 4; ++round)
        frame = MosaicFrameFor(extent, zone, *projection, cell = CellWithinCaps(*frame), error);
    if (frame && !WithinCaps(*frame)) {
        char text[160];
        std::snprintf(text, sizeof text,
            "cells of %g m make a mosaic of %d x %d cells, more than %d a side or %g in all", cell,
            frame->width, frame->height, kMosaicSideCap, kMosaicCellCap);
        error = std::string(text) + "; choose a larger --cell";
        frame.reset();
    }
    if (!frame) {
        progress.Finish();
        std::fprintf(stderr, "%s: %s\n", kCommand, error.c_str());
        return kExitFailure;
    }
    if (!chosen && cell > std::max(kSmallestMosaicCell, extent.FinestSpacing()))
        std::fprintf(
            stderr, "%s: cells of %g m keep the mosaic within %g cells\n", kCommand, cell, kMosaicCellCap);

    try {
        MosaicGrid grid(frame->width, frame->height);
        MosaicPlacer placer(grid, *frame, *projection,
            request.altitude > 0 ? std::optional<double>(request.altitude) : std::nullopt);
        std::int64_t placed = 0;
        WalkPings(request, file, fileType, doc, track, progress, false, [&](const MosaicPing& p) {
            placer.Add(p);
            ++placed;
        });
        if (!placer.Flush())
            std::fprintf(stderr, "%s: pings whose places could not be transformed were left out\n", kCommand);
        if (progress.Enabled())
            progress.Show("writing " + request.out);
        const MosaicFormat format = *MosaicFormatForPath(request.out);
        MosaicImage image {&grid, *frame, doc.state->colors.Table(doc.settings.colorTable)};
        const bool written = writer.Write(request.out, format, image, error);
        progress.Finish();
        if (!written) {
            std::fprintf(stderr, "%s: cannot write %s: %s\n", kCommand, request.out.c_str(), error.c_str());
            return kExitFailure;
        }
        if (outcome != nullptr)
            *outcome = MosaicOutcome {placed, *frame, grid.TilesInUse()};
    } catch (const std::bad_alloc&) {
        progress.Finish();
        std::fprintf(stderr, "%s: not enough memory for the mosaic; choose a larger --cell\n", kCommand);
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace velmaris::tool
