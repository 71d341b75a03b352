#include "station/gdal/GdalMosaicWriter.h"

#include "station/gdal/GdalSession.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_vsi.h>
#include <gdal_priv.h>
#include <gdal_utils.h>
#include <ogr_spatialref.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <mutex>
#include <system_error>
#include <vector>

namespace velmaris {
namespace {

constexpr int kBlock = 256;

class OgrProjection final : public MapProjection {
public:
    explicit OgrProjection(OGRCoordinateTransformation* transform)
        : transform_(transform)
    { }
    ~OgrProjection() override { OGRCoordinateTransformation::DestroyCT(transform_); }

    bool Forward(double* x, double* y, std::size_t n) const override
    {
        std::vector<int> success(n, 0);
        bool all = n == 0 || transform_->Transform(static_cast<int>(n), x, y, nullptr, success.data()) != 0;
        for (std::size_t i = 0; i < n; ++i)
            if (!success[i] || !std::isfinite(x[i]) || !std::isfinite(y[i])) {
                x[i] = y[i] = std::numeric_limits<double>::quiet_NaN();
                all = false;
            }
        return all;
    }

private:
    OGRCoordinateTransformation* transform_;
};

OGRSpatialReference Srs(int epsg)
{
    OGRSpatialReference srs;
    srs.importFromEPSG(epsg);
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER); // longitude, easting first
    return srs;
}

// The GeoTIFF at `path` (a real or a /vsimem/ name).
bool WriteTiff(const std::string& path, const MosaicImage& image, std::string& error)
{
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    if (driver == nullptr) {
        error = "this build has no GeoTIFF writer";
        return false;
    }
    const MosaicFrame& f = image.frame;
    const char* options[] = {"TILED=YES", "BLOCKXSIZE=256", "BLOCKYSIZE=256", "COMPRESS=DEFLATE",
        "SPARSE_OK=TRUE", "BIGTIFF=IF_SAFER", nullptr};
    CPLErrorReset();
    GDALDataset* dataset
        = driver->Create(path.c_str(), f.width, f.height, 1, GDT_Byte, const_cast<char**>(options));
    if (dataset == nullptr) {
        error = LastGdalError("the file cannot be created");
        return false;
    }
    double transform[6] = {f.west, f.cell, 0, f.north, 0, -f.cell};
    const OGRSpatialReference srs = Srs(f.zone.Epsg());
    GDALRasterBand* band = dataset->GetRasterBand(1);
    GDALColorTable colours;
    for (int i = 0; i < 256; ++i) {
        const Rgb& c = image.palette[std::size_t(i)];
        const GDALColorEntry entry {c.red, c.green, c.blue, short(i == MosaicCells::kNoData ? 0 : 255)};
        colours.SetColorEntry(i, &entry);
    }
    bool written = dataset->SetGeoTransform(transform) == CE_None && dataset->SetSpatialRef(&srs) == CE_None
        && band->SetNoDataValue(MosaicCells::kNoData) == CE_None && band->SetColorTable(&colours) == CE_None
        && band->SetColorInterpretation(GCI_PaletteIndex) == CE_None;
    std::vector<std::uint8_t> block(std::size_t(kBlock) * kBlock);
    for (int y = 0; written && y < f.height; y += kBlock) {
        for (int x = 0; written && x < f.width; x += kBlock) {
            const int w = std::min(kBlock, f.width - x);
            const int h = std::min(kBlock, f.height - y);
            if (!image.cells->ReadBlock(x, y, w, h, block.data()))
                continue; // left out: read as no data
            written = band->RasterIO(GF_Write, x, y, w, h, block.data(), w, h, GDT_Byte, 0, 0) == CE_None;
        }
    }
    CPLErrorReset();
    GDALClose(dataset);
    if (!written || GdalFailed()) {
        error = LastGdalError("the file cannot be written");
        return false;
    }
    return true;
}

using Options = std::vector<const char*>;

// The KMZ from the GeoTIFF at `tiff`: red, green, blue and alpha, warped
// to WGS84, as a super-overlay.
bool WriteKmzFrom(
    const std::string& tiff, const std::string& path, const std::string& name, std::string& error)
{
    static std::atomic<int> serial {0};
    const std::string stem = "/vsimem/velmaris-mosaic-" + std::to_string(serial++);
    const std::string rgba = stem + "-rgba.vrt";
    const std::string wgs84 = stem + "-wgs84.vrt";
    bool ok = false;
    GDALDatasetH source = GDALOpen(tiff.c_str(), GA_ReadOnly);
    GDALDatasetH expanded = nullptr;
    GDALDatasetH warped = nullptr;
    if (source != nullptr) {
        Options translate {"-of", "VRT", "-expand", "rgba", nullptr};
        GDALTranslateOptions* t = GDALTranslateOptionsNew(const_cast<char**>(translate.data()), nullptr);
        expanded = GDALTranslate(rgba.c_str(), source, t, nullptr);
        GDALTranslateOptionsFree(t);
    }
    if (expanded != nullptr) {
        Options warp {"-of", "VRT", "-t_srs", "EPSG:4326", "-r", "near", nullptr};
        GDALWarpAppOptions* w = GDALWarpAppOptionsNew(const_cast<char**>(warp.data()), nullptr);
        warped = GDALWarp(wgs84.c_str(), nullptr, 1, &expanded, w, nullptr);
        GDALWarpAppOptionsFree(w);
    }
    GDALDriverH kml = GDALGetDriverByName("KMLSUPEROVERLAY");
    if (warped != nullptr && kml != nullptr) {
        const std::string named = "NAME=" + name;
        const char* options[] = {"FORMAT=PNG", named.c_str(), nullptr};
        CPLErrorReset();
        GDALDatasetH kmz
            = GDALCreateCopy(kml, path.c_str(), warped, FALSE, const_cast<char**>(options), nullptr, nullptr);
        ok = kmz != nullptr;
        if (kmz != nullptr)
            GDALClose(kmz);
        ok = ok && !GdalFailed();
    } else if (kml == nullptr) {
        error = "this build has no KML super-overlay writer";
    }
    if (!ok && error.empty())
        error = LastGdalError("the file cannot be written");
    for (GDALDatasetH d : {warped, expanded, source})
        if (d != nullptr)
            GDALClose(d);
    VSIUnlink(wgs84.c_str());
    VSIUnlink(rgba.c_str());
    return ok;
}

// Whether the frame's west and east edges lie on either side of the 180th
// meridian: a KML box cannot say so, and the warp to WGS84 would span the
// earth.
bool CrossesAntimeridian(const MosaicFrame& f)
{
    const OGRSpatialReference utm = Srs(f.zone.Epsg());
    const OGRSpatialReference wgs84 = Srs(4326);
    const std::unique_ptr<OGRCoordinateTransformation> t(OGRCreateCoordinateTransformation(&utm, &wgs84));
    const double east = f.west + f.width * f.cell;
    const double south = f.north - f.height * f.cell;
    double x[4] = {f.west, east, f.west, east};
    double y[4] = {f.north, f.north, south, south};
    return t != nullptr && t->Transform(4, x, y) && (x[0] > x[1] || x[2] > x[3]);
}

} // namespace

std::unique_ptr<MapProjection> GdalMosaicWriter::Projection(UtmZone zone, std::string& error) const
{
    RegisterGdal();
    const OGRSpatialReference from = Srs(4326);
    const OGRSpatialReference to = Srs(zone.Epsg());
    CPLErrorReset();
    OGRCoordinateTransformation* transform = OGRCreateCoordinateTransformation(&from, &to);
    if (transform == nullptr) {
        error = LastGdalError("no transformation to UTM");
        return nullptr;
    }
    return std::make_unique<OgrProjection>(transform);
}

bool GdalMosaicWriter::Write(
    const std::string& path, MosaicFormat format, const MosaicImage& image, std::string& error) const
{
    RegisterGdal();
    if (image.cells == nullptr) {
        error = "no mosaic";
        return false;
    }
    // The super-overlay driver zips what it writes by the name's extension,
    // and its zip paths end the archive's name at the first ".kmz".
    const std::string temporary = format == MosaicFormat::Kmz
        ? path.substr(0, path.size() - std::min<std::size_t>(path.size(), 4)) + ".part.kmz"
        : path + ".part";
    if (format == MosaicFormat::Kmz && CrossesAntimeridian(image.frame)) {
        error = "the survey crosses the 180th meridian, which a KMZ cannot; write a GeoTIFF";
        return false;
    }
    bool ok = false;
    if (format == MosaicFormat::GeoTiff) {
        ok = WriteTiff(temporary, image, error);
    } else {
        // The picture is made once as a GeoTIFF in memory, then warped.
        static std::atomic<int> serial {0};
        const std::string tiff = "/vsimem/velmaris-mosaic-source-" + std::to_string(serial++) + ".tif";
        ok = WriteTiff(tiff, image, error)
            && WriteKmzFrom(tiff, temporary, std::filesystem::path(path).stem().string(), error);
        VSIUnlink(tiff.c_str());
    }
    return PutInPlace(temporary, path, ok, error);
}

} // namespace velmaris
