#pragma once
// Mosaic files: the grid of a survey written as a GeoTIFF (one 8-bit band of
// echo levels in its UTM zone, the colour table as its palette, 255 no
// data) or as a KMZ ground overlay in WGS84 for a globe viewer, by a
// MosaicWriter (the GDAL one in station/gdal, in builds that have GDAL). The
// writer also lends its coordinate transforms: a MapProjection from WGS84
// to the mosaic's UTM zone.
//
// Plain values (the cells are read through their interface, so a writer
// in a module links nothing of the station); a writer and its projections are called on one thread at a
// time.

#include "image/SonarBitmap.h"
#include "links/Geodesy.h"
#include "station/MosaicGrid.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace velmaris {

struct UtmZone {
    int number = 31; // 1..60
    bool north = true;
    int Epsg() const { return (north ? 32600 : 32700) + number; }
    bool operator==(const UtmZone&) const = default;
};

// The zone of a point: six-degree zones from 180 W, with the wider zones
// off south-west Norway (32V) and around Svalbard (31X, 33X, 35X, 37X).
UtmZone UtmZoneOf(const GeoPoint& point);

enum class MosaicFormat { GeoTiff, Kmz };
// By the extension, without regard to case: .tif or .tiff, .kmz.
std::optional<MosaicFormat> MosaicFormatForPath(std::string_view path);

class MapProjection {
public:
    virtual ~MapProjection() = default;
    // `n` points in place: longitude (x) and latitude (y) in degrees in,
    // easting and northing in metres out. False when one could not be
    // transformed.
    virtual bool Forward(double* x, double* y, std::size_t n) const = 0;
};

// A grid laid in a zone: cell (0, 0)'s north-west corner at (west, north),
// square cells `cell` metres on a side.
struct MosaicFrame {
    UtmZone zone;
    double west = 0; // easting, metres
    double north = 0; // northing, metres
    double cell = 1; // metres
    int width = 1; // cells
    int height = 1;
};

struct MosaicImage {
    const MosaicCells* cells = nullptr; // frame.width x frame.height
    MosaicFrame frame;
    ColorTable palette {}; // the colour of each level; 255 is no data
};

class MosaicWriter {
public:
    virtual ~MosaicWriter() = default;
    // WGS84 longitude and latitude to `zone`; null with the cause in `error`.
    virtual std::unique_ptr<MapProjection> Projection(UtmZone zone, std::string& error) const = 0;
    // The whole file at `path`; false with the cause in `error`, and no
    // file left behind.
    virtual bool Write(
        const std::string& path, MosaicFormat format, const MosaicImage& image, std::string& error) const = 0;
};

} // namespace velmaris
