#include "station/gdal/GdalChartWriter.h"

#include "station/gdal/GdalSession.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal_priv.h>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <system_error>

namespace velmaris {
namespace {

const char* DriverName(ChartFormat format)
{
    switch (format) {
    case ChartFormat::GeoJson:
        return "GeoJSON";
    case ChartFormat::Kml:
        return "KML";
    case ChartFormat::Gpx:
        return "GPX";
    case ChartFormat::Csv:
        break;
    }
    return nullptr;
}

struct DatasetCloser {
    void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};
using Dataset = std::unique_ptr<GDALDataset, DatasetCloser>;

// Opens a new dataset at `temporary` for `format`; null with `error` set.
Dataset Create(const std::string& temporary, ChartFormat format, std::string& error)
{
    RegisterGdal();
    const char* name = DriverName(format);
    GDALDriver* driver = name != nullptr ? GetGDALDriverManager()->GetDriverByName(name) : nullptr;
    if (driver == nullptr) {
        error = std::string("this build has no ") + (name != nullptr ? name : "chart") + " writer";
        return nullptr;
    }
    CPLErrorReset();
    Dataset dataset(driver->Create(temporary.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!dataset)
        error = LastGdalError("the file cannot be created");
    return dataset;
}

OGRSpatialReference Wgs84()
{
    OGRSpatialReference srs;
    srs.SetWellKnownGeogCS("WGS84");
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER); // longitude first, as every format has it
    return srs;
}

bool AddField(OGRLayer& layer, const char* name, OGRFieldType type)
{
    OGRFieldDefn field(name, type);
    return layer.CreateField(&field) == OGRERR_NONE;
}

void SetIfPresent(OGRFeature& feature, const char* name, const std::string& value)
{
    const int index = feature.GetFieldIndex(name);
    if (index >= 0 && !value.empty())
        feature.SetField(index, value.c_str());
}

// Closes `dataset` (which writes the file), then puts it at `path`.
bool Finish(
    Dataset dataset, bool written, const std::string& temporary, const std::string& path, std::string& error)
{
    CPLErrorReset();
    GDALClose(dataset.release()); // the drivers report a failed write as an error
    const bool closed = CPLGetLastErrorType() != CE_Failure && CPLGetLastErrorType() != CE_Fatal;
    if (written && !closed)
        error = LastGdalError("the file cannot be written");
    return PutInPlace(temporary, path, written && closed, error);
}

std::string TemporaryFor(const std::string& path)
{
    return path + ".part";
}

} // namespace

bool GdalChartWriter::WriteWaypoints(const std::string& path, ChartFormat format,
    const std::vector<Waypoint>& waypoints, std::string& error) const
{
    const std::string temporary = TemporaryFor(path);
    Dataset dataset = Create(temporary, format, error);
    if (!dataset)
        return false;
    OGRSpatialReference srs = Wgs84();
    const bool gpx = format == ChartFormat::Gpx;
    const bool kml = format == ChartFormat::Kml;
    OGRLayer* layer = dataset->CreateLayer(gpx ? "waypoints" : "targets", &srs, wkbPoint, nullptr);
    bool written = layer != nullptr;
    // GPX has its own fields for waypoints; KML takes Name and Description
    // into each placemark's own.
    const char* nameField = kml ? "Name" : "name";
    const char* descriptionField = kml ? "Description" : gpx ? "desc" : "description";
    if (written && !gpx) {
        written = AddField(*layer, nameField, OFTString) && AddField(*layer, descriptionField, OFTString)
            && AddField(*layer, "time", OFTString);
        if (!waypoints.empty())
            for (const auto& [name, value] : waypoints.front().numbers)
                written = written && AddField(*layer, name.c_str(), OFTReal);
    }
    for (std::size_t i = 0; written && i < waypoints.size(); ++i) {
        const Waypoint& w = waypoints[i];
        OGRFeature feature(layer->GetLayerDefn());
        SetIfPresent(feature, nameField, w.name);
        SetIfPresent(feature, descriptionField, w.description);
        SetIfPresent(feature, "time", w.time);
        if (!gpx)
            for (const auto& [name, value] : w.numbers)
                if (const int index = feature.GetFieldIndex(name.c_str()); index >= 0)
                    feature.SetField(index, value);
        OGRPoint point(w.where.longitude, w.where.latitude);
        feature.SetGeometry(&point);
        written = layer->CreateFeature(&feature) == OGRERR_NONE;
    }
    if (!written && error.empty())
        error = LastGdalError("the file cannot be written");
    return Finish(std::move(dataset), written, temporary, path, error);
}

bool GdalChartWriter::WriteTrack(const std::string& path, ChartFormat format,
    const std::vector<TrackPoint>& points, std::string& error) const
{
    const std::string temporary = TemporaryFor(path);
    Dataset dataset = Create(temporary, format, error);
    if (!dataset)
        return false;
    OGRSpatialReference srs = Wgs84();
    bool written = true;
    if (format == ChartFormat::Gpx) {
        // One track of one segment, a point per fix with its time.
        OGRLayer* layer = dataset->CreateLayer("track_points", &srs, wkbPoint, nullptr);
        written = layer != nullptr;
        for (std::size_t i = 0; written && i < points.size(); ++i) {
            OGRFeature feature(layer->GetLayerDefn());
            feature.SetField("track_fid", 0);
            feature.SetField("track_seg_id", 0);
            SetIfPresent(feature, "time", points[i].time);
            OGRPoint point(points[i].where.longitude, points[i].where.latitude);
            feature.SetGeometry(&point);
            written = layer->CreateFeature(&feature) == OGRERR_NONE;
        }
    } else {
        const bool kml = format == ChartFormat::Kml;
        OGRLayer* layer = dataset->CreateLayer("track", &srs, wkbLineString, nullptr);
        const char* nameField = kml ? "Name" : "name";
        written = layer != nullptr && AddField(*layer, nameField, OFTString)
            && AddField(*layer, "start", OFTString) && AddField(*layer, "end", OFTString);
        if (written) {
            OGRFeature feature(layer->GetLayerDefn());
            feature.SetField(nameField, "Track");
            if (!points.empty()) {
                SetIfPresent(feature, "start", points.front().time);
                SetIfPresent(feature, "end", points.back().time);
            }
            OGRLineString line;
            line.setNumPoints(int(points.size()));
            for (std::size_t i = 0; i < points.size(); ++i)
                line.setPoint(int(i), points[i].where.longitude, points[i].where.latitude);
            feature.SetGeometry(&line);
            written = layer->CreateFeature(&feature) == OGRERR_NONE;
        }
    }
    if (!written && error.empty())
        error = LastGdalError("the file cannot be written");
    return Finish(std::move(dataset), written, temporary, path, error);
}

} // namespace velmaris
