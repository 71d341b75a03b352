#pragma once
// The region the raster shows through in the "Sector" and "Polar" modes: a
// pie about the sonar origin, given per window row as at most two pixel
// spans so the blit touches only what is visible. "SideScan" is unclipped.

#include "image/ViewGeometry.h"

namespace velmaris {

struct SonarSettings;
class CommandMessage;

// Pixels begin .. end - 1 of one row.
struct PixelSpan {
    int begin = 0;
    int end = 0;
    friend bool operator==(const PixelSpan&, const PixelSpan&) = default;
};

class SectorClip {
public:
    // No clip: every row is one span over the whole width.
    static SectorClip Unclipped(int width);

    // The pie of `radius` pixels about (originX, originY) from `startDeg`
    // sweeping `sweepDeg` counter-clockwise (0 along +x, screen up is 90).
    // A sweep of 0 or less is empty; 360 or more is the full disc. A pixel
    // belongs to the pie when its grid point lies inside or on the edge.
    SectorClip(int width, int originX, int originY, int radius, float startDeg, float sweepDeg);

    // Spans of row y inside the clip and inside 0 .. width - 1, left to
    // right, not overlapping. Returns the count (0, 1 or 2).
    int RowSpans(int y, PixelSpan out[2]) const;

    bool IsUnclipped() const { return kind_ == Kind::None; }

private:
    enum class Kind { None, Empty, Disc, Wedge, Reflex };
    explicit SectorClip(int width)
        : width_(width)
    { }

    int width_ = 0;
    Kind kind_ = Kind::None;
    int originX_ = 0;
    int originY_ = 0;
    double radius_ = 0.0;
    double u1x_ = 0.0, u1y_ = 0.0; // first edge direction, y up
    double u2x_ = 0.0, u2y_ = 0.0; // second edge direction
};

// The clip of the current view: in Sector and Polar a pie of radius
// trunc(1000 z), start 90 - (T + `Rotate Image` [+ 180 with `Zero Down`])
// - 1.5 W and sweep 3 W (single precision), T the train angle in degrees and
// W the command's sector width; in SideScan no clip.
SectorClip MakeViewClip(
    const ViewGeometry& geo, const SonarSettings& settings, const CommandMessage& command);

} // namespace velmaris
