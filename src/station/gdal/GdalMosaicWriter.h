#pragma once
// The MosaicWriter of builds with GDAL. GeoTIFF: GDAL's GTiff driver, one
// 8-bit band in 256 x 256 tiles (deflated; tiles without a sample are left
// out and read as no data), the mosaic's UTM zone, the colour table as the
// palette and 255 as no data. KMZ: the same picture expanded to red, green,
// blue and alpha (clear where there is no data), warped to WGS84 and cut
// into GDAL's KML super-overlay of PNG tiles, which a globe viewer loads by
// region. Projections are PROJ's through OGR's coordinate transforms.
//
// Each file is written beside its path under a temporary name and renamed
// over it when whole. Stateless; GDAL's drivers are registered once.
// Thread: one call at a time (GDAL's last error is per thread).

#include "station/MosaicFiles.h"

namespace velmaris {

class GdalMosaicWriter final : public MosaicWriter {
public:
    std::unique_ptr<MapProjection> Projection(UtmZone zone, std::string& error) const override;
    bool Write(const std::string& path, MosaicFormat format, const MosaicImage& image,
        std::string& error) const override;
};

} // namespace velmaris
