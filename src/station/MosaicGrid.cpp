#include "station/MosaicGrid.h"

#include <algorithm>
#include <cstring>

namespace velmaris {

namespace {
constexpr int kShift = 6; // log2 of the tile side
static_assert(MosaicGrid::kTileSide == 1 << kShift);
constexpr int kMask = MosaicGrid::kTileSide - 1;
} // namespace

MosaicGrid::MosaicGrid(int width, int height)
    : width_(std::max(width, 1))
    , height_(std::max(height, 1))
    , tilesAcross_((width_ + kMask) >> kShift)
    , tiles_(std::size_t(tilesAcross_) * std::size_t((height_ + kMask) >> kShift))
{ }

MosaicGrid::Tile& MosaicGrid::TileAt(int tx, int ty)
{
    std::unique_ptr<Tile>& tile = tiles_[std::size_t(ty) * std::size_t(tilesAcross_) + std::size_t(tx)];
    if (!tile) {
        tile = std::make_unique<Tile>();
        std::memset(tile.get(), 0, sizeof(Tile));
        ++tilesInUse_;
    }
    return *tile;
}

void MosaicGrid::AddLine(
    double x0, double y0, double ux, double uy, const double* ranges, const std::uint8_t* levels, int count)
{
    const double width = width_;
    const double height = height_;
    Tile* last = nullptr;
    int lastKey = -1;
    for (int k = 0; k < count; ++k) {
        const double x = x0 + ux * ranges[k];
        const double y = y0 + uy * ranges[k];
        if (!(x >= 0 && x < width && y >= 0 && y < height))
            continue; // also a range that is not a number
        const int ix = static_cast<int>(x);
        const int iy = static_cast<int>(y);
        // Neighbouring samples mostly share a tile: look it up only when it changes.
        const int key = (iy >> kShift) * tilesAcross_ + (ix >> kShift);
        if (key != lastKey) {
            last = &TileAt(ix >> kShift, iy >> kShift);
            lastKey = key;
        }
        const int cell = (iy & kMask) << kShift | (ix & kMask);
        if (last->count[cell] == 0xFFFF) {
            last->count[cell] >>= 1;
            last->sum[cell] >>= 1;
        }
        last->sum[cell] += levels[k];
        ++last->count[cell];
    }
}

bool MosaicGrid::ReadBlock(int x, int y, int w, int h, std::uint8_t* out) const
{
    std::memset(out, kNoData, std::size_t(w) * std::size_t(h));
    bool any = false;
    // Only the part inside the grid has cells.
    const int lastTy = (std::min(y + h, height_) - 1) >> kShift;
    const int lastTx = (std::min(x + w, width_) - 1) >> kShift;
    for (int ty = std::max(y, 0) >> kShift; ty <= lastTy; ++ty) {
        for (int tx = std::max(x, 0) >> kShift; tx <= lastTx; ++tx) {
            const Tile* tile = tiles_[std::size_t(ty) * std::size_t(tilesAcross_) + std::size_t(tx)].get();
            if (tile == nullptr)
                continue;
            const int top = std::max(y, ty << kShift);
            const int bottom = std::min({y + h, (ty + 1) << kShift, height_});
            const int left = std::max(x, tx << kShift);
            const int right = std::min({x + w, (tx + 1) << kShift, width_});
            for (int cy = top; cy < bottom; ++cy) {
                std::uint8_t* row = out + std::size_t(cy - y) * std::size_t(w);
                for (int cx = left; cx < right; ++cx) {
                    const int cell = (cy & kMask) << kShift | (cx & kMask);
                    const unsigned n = tile->count[cell];
                    if (n == 0)
                        continue;
                    row[cx - x] = static_cast<std::uint8_t>((tile->sum[cell] + n / 2) / n);
                    any = true;
                }
            }
        }
    }
    return any;
}

} // namespace velmaris
