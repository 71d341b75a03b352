#pragma once
// The cells of a mosaic: a north-up grid in which every echo sample placed
// adds to its cell's sum and count, so each cell ends as the mean of the
// samples that fell in it. Only sums and counts are kept, in tiles of
// kTileSide x kTileSide cells made when a sample first lands in them: the
// memory follows the area the survey covered, never the number of pings.
//
// Cell (0, 0) is the north-west corner; x runs east, y south, in cells.
// A count that would pass 65535 halves the cell's sum and count first (the
// mean stays, later samples weigh a little more).
//
// Ownership: the grid owns its tiles. One thread at a time. Failure: a tile
// that cannot be allocated throws std::bad_alloc.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace velmaris {

// The cells as a file writer reads them, a block at a time.
class MosaicCells {
public:
    static constexpr std::uint8_t kNoData = 255;
    virtual ~MosaicCells() = default;
    // The means (rounded) of the block of w x h cells at (x, y), row by
    // row into `out` (w bytes a row), kNoData where no sample fell. False
    // when no sample fell anywhere in the block. Cells outside the grid
    // read as no data.
    virtual bool ReadBlock(int x, int y, int w, int h, std::uint8_t* out) const = 0;
};

class MosaicGrid final : public MosaicCells {
public:
    static constexpr int kTileSide = 64;
    // Bytes of one tile: a 32-bit sum and a 16-bit count per cell.
    static constexpr std::size_t kTileBytes = std::size_t(kTileSide) * kTileSide * 6;

    // `width` x `height` cells, each at least 1.
    MosaicGrid(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Adds `count` samples along one line: sample k, of level levels[k],
    // at (x0 + ux r, y0 + uy r) with r = ranges[k] (cells from the corner;
    // ux, uy cells a metre). Samples outside the grid, and those whose
    // range is not a number, are left out.
    void AddLine(double x0, double y0, double ux, double uy, const double* ranges, const std::uint8_t* levels,
        int count);

    bool ReadBlock(int x, int y, int w, int h, std::uint8_t* out) const override;

    std::size_t TilesInUse() const { return tilesInUse_; }

private:
    struct Tile {
        std::uint32_t sum[kTileSide * kTileSide];
        std::uint16_t count[kTileSide * kTileSide];
    };
    Tile& TileAt(int tx, int ty);

    int width_;
    int height_;
    int tilesAcross_;
    std::vector<std::unique_ptr<Tile>> tiles_;
    std::size_t tilesInUse_ = 0;
};

} // namespace velmaris
