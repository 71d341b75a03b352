#pragma once
// A recording laid on the map, ping by ping: every echo sample of a ping
// with a position and a heading goes to the place the station's cursor
// read-out gives its range and bearing (the head's position from the track
// and the antenna offsets, the bearing from the head's zero turned by the
// heading), at the range the painters draw it (SampleRangesOf), with the
// level they paint it. With an altitude, slant ranges become ground ranges
// over a flat bottom that far below the head (samples from nearer than
// the bottom are left out).
//
// Two passes: MosaicExtent gathers where the pings reach, MosaicFrameFor
// lays a grid over it, and MosaicPlacer adds the pings' samples to the grid.
//
// Accuracy: each ping's head and its farthest sample are placed on the
// ellipsoid by the station's own geodesy (PointFromHead) and transformed to
// UTM by the writer's projection; the samples between lie evenly on the
// straight line between the two. Over a line of at most a few hundred
// metres, a geodesic drawn in Transverse Mercator bends from that chord by
// well under a millimetre anywhere in a zone, and the projection's scale
// changes by less than a part in a million along it, so every sample lands
// within a millimetre of its own transformed point.
//
// Plain values; one thread at a time.

#include "image/PaintInputs.h"
#include "links/Navigation.h"
#include "protocol/CommandMessage.h"
#include "protocol/EchoLine.h"
#include "protocol/PingRecord.h"
#include "protocol/SonarSettings.h"
#include "station/MosaicFiles.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velmaris {

// One ping ready to be placed.
struct MosaicPing {
    PingNavigation navigation;
    AntennaOffsets offsets;
    double headBearing = 0; // degrees clockwise from the head's zero
    LineSampleRanges ranges; // `count` limited to the samples the ping holds
    double spacing = 0; // metres between the head's own samples (its range over its echo count)
    std::array<std::uint8_t, 500> levels {}; // painted level of each sample of the 500-sample line
};

// The ping just decoded (its echo bytes in `echoes`) with its navigation;
// false when it places nothing (no position, no heading, offsets that
// cannot be applied, or nothing painted). Without `levels` the levels are
// left as they were (the first pass needs only where the ping reaches).
bool MakeMosaicPing(const PingRecord& ping, std::span<const std::uint8_t> echoes,
    const SonarSettings& settings, const CommandMessage& command, const PingNavigation& navigation,
    MosaicPing& out, bool levels = true);

// Where the pings reach, and their finest sample spacing.
class MosaicExtent {
public:
    void Add(const MosaicPing& ping);
    bool Empty() const { return pings_ == 0; }
    std::int64_t Pings() const { return pings_; }
    // Metres between the samples a head gave (range over its own echo
    // count) at the finest range seen.
    double FinestSpacing() const { return finest_; }
    // The middle of the box the heads lie in, its longitude in [-180, 180).
    GeoPoint Centre() const;
    // The box the heads lie in, widened by the farthest range. A survey
    // over the 180th meridian keeps one side of it: its east edge may pass
    // 180 (or its west edge -180), so that west stays below east.
    void Bounds(GeoPoint& southWest, GeoPoint& northEast) const;

private:
    std::int64_t pings_ = 0;
    // Longitudes are kept as the first head's plus the shortest turn to
    // each later one, so a survey across the 180th meridian is one box.
    double reference_ = 0;
    double south_ = 90, north_ = -90, west_ = 1e9, east_ = -1e9;
    double reach_ = 0;
    double finest_ = 1e9;
};

inline constexpr double kSmallestMosaicCell = 0.05; // metres
// The most cells a mosaic's grid may span (its memory follows the cells
// covered, but the file's blocks and the overlay follow the span).
inline constexpr double kMosaicCellCap = 250'000'000.0;
inline constexpr int kMosaicSideCap = 100'000;

// A grid over the extent in the UTM zone of its centre, north-up, corners
// on whole multiples of `cell`. The extent's box is transformed along its
// edges (the zone's grid lines are curved in degrees). Nullopt with the
// cause in `error` when there is no extent or the projection fails; the
// frame may pass the caps.
std::optional<MosaicFrame> MosaicFrameFor(const MosaicExtent& extent, UtmZone zone,
    const MapProjection& projection, double cell, std::string& error);

bool WithinCaps(const MosaicFrame& frame);

// A cell coarse enough for `frame`'s area to keep within the caps
// (`frame.cell` itself when it does), rounded up to two figures.
double CellWithinCaps(const MosaicFrame& frame);

class MosaicPlacer {
public:
    // `altitude`: metres of the bottom below the head, for ground ranges.
    MosaicPlacer(MosaicGrid& grid, const MosaicFrame& frame, const MapProjection& projection,
        std::optional<double> altitude);
    ~MosaicPlacer();

    // Queues a ping; every kBatch pings are placed together (one call of
    // the projection for all their points).
    void Add(const MosaicPing& ping);
    // Places what is queued. False when the projection failed for any
    // point (those pings are left out).
    bool Flush();

    static constexpr std::size_t kBatch = 512;

private:
    MosaicGrid& grid_;
    MosaicFrame frame_;
    const MapProjection& projection_;
    std::optional<double> altitude_;
    std::vector<MosaicPing> queue_;
    std::vector<double> x_, y_;
    std::array<double, 500> ranges_ {};
    bool failed_ = false;
};

} // namespace velmaris
