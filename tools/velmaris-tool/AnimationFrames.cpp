#include "AnimationFrames.h"

#include "RecordCursor.h"
#include "files/PlaybackDecode.h"
#include "files/RecordReader.h"
#include "image/PaintInputs.h"

#include <algorithm>
#include <utility>

namespace velmaris::tool {

int PaintedSide(double zoom)
{
    const int side = 2 * ImageRadiusPx(zoom);
    return side > 0 ? std::min(side, ImageRaster::kWidth) : ImageRaster::kWidth;
}

FrameSampler::FrameSampler(int sourceSide, int size)
    : sourceSide_(sourceSide)
    , size_(size)
    , source_(static_cast<std::size_t>(size))
{
    for (int i = 0; i < size; ++i)
        source_[std::size_t(i)]
            = static_cast<int>((std::int64_t(2 * i + 1) * sourceSide) / (std::int64_t(2) * size));
}

void FrameSampler::Rows(const ImageRaster& raster, std::uint8_t* scratch, const std::uint8_t** rows) const
{
    const std::size_t n = source_.size();
    for (std::size_t y = 0; y < n; ++y) {
        const std::uint8_t* row = raster.Row(source_[y]);
        if (size_ == sourceSide_) {
            rows[y] = row;
            continue;
        }
        std::uint8_t* out = scratch + y * n;
        for (std::size_t x = 0; x < n; ++x)
            out[x] = row[source_[x]];
        rows[y] = out;
    }
}

AnimationCounts PlayIntoFrames(DataFile& file, SonarType fileType, ToolDocument& doc, const FrameSampler& sampler,
    int pingsPerFrame, const std::function<bool(const std::uint8_t* const* rows)>& onFrame,
    const std::function<void(std::int64_t recordsRead)>& onRecord)
{
    SonarState& state = *doc.state;
    ResetScanHistory(state.history, state.ping);
    std::vector<std::uint8_t> scratch;
    if (sampler.Samples())
        scratch.resize(std::size_t(sampler.Size()) * std::size_t(sampler.Size()));
    std::vector<const std::uint8_t*> rows(std::size_t(sampler.Size()));
    AnimationCounts counts;
    int sinceFrame = 0;
    bool stopped = false;
    auto emit = [&] {
        sampler.Rows(std::as_const(state.raster), scratch.data(), rows.data());
        ++counts.frames;
        sinceFrame = 0;
        stopped = !onFrame(rows.data());
    };
    RecordCursor cursor(file, fileType);
    RecordFrame record;
    while (!stopped && cursor.Next(record, [](std::int64_t offset, const RecordFrame& damaged) {
        ReportDamage("render", offset, damaged);
    })) {
        if (DecodePlaybackRecord(state, record).valid) {
            PaintCurrentPing(state);
            ++counts.pings;
            if (++sinceFrame >= pingsPerFrame)
                emit();
        }
        if (onRecord)
            onRecord(cursor.Number());
    }
    if (!stopped && sinceFrame > 0)
        emit();
    return counts;
}

} // namespace velmaris::tool
