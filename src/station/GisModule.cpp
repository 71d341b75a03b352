#include "station/GisModule.h"

#include "station/ModuleLoad.h"

namespace velmaris {
namespace {

#if VELMARIS_HAVE_GDAL
constexpr ModulePlaces kPlaces {
    VELMARIS_GIS_MODULE_NAME, VELMARIS_GIS_MODULE_INSTALLED, VELMARIS_GIS_MODULE_BUILT};
#endif

struct Loaded {
    const GisServices* services = nullptr;
    std::string why;
};

Loaded Load()
{
    Loaded loaded;
#if VELMARIS_HAVE_GDAL
    void* entry = LoadModuleEntry(kPlaces, kGisModuleEntry, loaded.why);
    if (entry != nullptr) {
        loaded.services = reinterpret_cast<GisModuleEntry>(entry)(kGisServicesVersion);
        if (loaded.services == nullptr)
            loaded.why = std::string(kPlaces.fileName) + " belongs to another version of Velmaris";
    }
#else
    loaded.why = "this build writes CSV alone";
#endif
    return loaded;
}

class ForwardingChartWriter final : public ChartWriter {
public:
    bool WriteWaypoints(const std::string& path, ChartFormat format, const std::vector<Waypoint>& waypoints,
        std::string& error) const override
    {
        const ChartWriter* writer = Writer(error);
        return writer != nullptr && writer->WriteWaypoints(path, format, waypoints, error);
    }
    bool WriteTrack(const std::string& path, ChartFormat format, const std::vector<TrackPoint>& points,
        std::string& error) const override
    {
        const ChartWriter* writer = Writer(error);
        return writer != nullptr && writer->WriteTrack(path, format, points, error);
    }

private:
    static const ChartWriter* Writer(std::string& error)
    {
        const GisServices* services = LoadGisModule(error);
        if (services != nullptr && services->charts == nullptr)
            error = "the GDAL module writes no charts";
        return services != nullptr ? services->charts : nullptr;
    }
};

} // namespace

bool GisModuleFound()
{
#if VELMARIS_HAVE_GDAL
    return !FindModule(kPlaces).empty();
#else
    return false;
#endif
}

const GisServices* LoadGisModule(std::string& why)
{
    static const Loaded loaded = Load();
    if (loaded.services == nullptr)
        why = loaded.why;
    return loaded.services;
}

const ChartWriter& ModuleChartWriter()
{
    static const ForwardingChartWriter writer;
    return writer;
}

} // namespace velmaris
