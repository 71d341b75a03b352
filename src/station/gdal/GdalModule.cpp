// The entry of velmaris-gdal.so: the services GDAL gives the programs.

#include "station/GisModule.h"
#include "station/gdal/GdalChartWriter.h"

#if defined(_WIN32)
#define VELMARIS_MODULE_EXPORT extern "C" __declspec(dllexport)
#else
#define VELMARIS_MODULE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

VELMARIS_MODULE_EXPORT const velmaris::GisServices* VelmarisGisServices(int version)
{
    static const velmaris::GdalChartWriter charts;
    static const velmaris::GisServices services {&charts};
    return version == velmaris::kGisServicesVersion ? &services : nullptr;
}
