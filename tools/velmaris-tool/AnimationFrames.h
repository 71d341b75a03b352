#pragma once
// Frames of an animated playback: the file played once through the station's
// playback path (decode, paint), and after every so many painted pings the
// raster sampled down to the frame size. Plain logic; the encoders that write
// the frames live beside it (FrameEncoder.h).

#include "ToolDocument.h"

#include "files/DataFile.h"
#include "image/ImageRaster.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace velmaris::tool {

// The part of the raster the painters draw into at a zoom: the square from
// the top-left corner to twice the image radius (1000 x 1000 pixels at zoom
// 1), which the view centres on the sonar origin; the whole raster when the
// zoom paints nothing.
int PaintedSide(double zoom);

// The top-left `sourceSide` x `sourceSide` square of the raster down (or up)
// to `size` x `size` pixels: each frame pixel takes the raster pixel at the
// centre of the cell it covers (colour indices cannot be averaged). With
// `size` equal to `sourceSide` the frame is that square exactly.
class FrameSampler {
public:
    FrameSampler(int sourceSide, int size);

    int Size() const { return size_; }
    // Whether Rows() needs its scratch (the frame is not the square as it is).
    bool Samples() const { return size_ != sourceSide_; }
    // Points rows[y] (Size() of them) at frame row y: into the raster itself
    // when the frame is the square as it is, otherwise into `scratch`
    // (Size() x Size() bytes), where the frame is sampled. Valid until the
    // raster or the scratch changes.
    void Rows(const ImageRaster& raster, std::uint8_t* scratch, const std::uint8_t** rows) const;

private:
    int sourceSide_;
    int size_;
    std::vector<int> source_; // raster row (and column) of each frame row (and column)
};

struct AnimationCounts {
    std::int64_t pings = 0; // painted
    std::int64_t frames = 0;
};

// Plays the file from its first record, as `render` does, and calls
// `onFrame(rows)` (the frame's rows, as FrameSampler::Rows gives them) after every `pingsPerFrame` painted
// pings and after the last one (when it is not already a frame's). `onFrame` returns false to stop.
// `onRecord(recordsRead)` runs after every whole record, for progress.
AnimationCounts PlayIntoFrames(DataFile& file, SonarType fileType, ToolDocument& doc, const FrameSampler& sampler,
    int pingsPerFrame, const std::function<bool(const std::uint8_t* const* rows)>& onFrame,
    const std::function<void(std::int64_t recordsRead)>& onRecord = {});

} // namespace velmaris::tool
