// velmaris-tool mosaic FILE --out OUT.tif|OUT.kmz: the recording laid on
// the map through its track, written by the GDAL module.

#include "MosaicMaking.h"
#include "Subcommand.h"

#include "station/GisModule.h"

#include <cstdio>

namespace velmaris::tool {

int Run(const MosaicRequest& request)
{
    MosaicOutcome outcome;
    const int status = MakeMosaic(request, ModuleMosaicWriter(), &outcome);
    if (status == kExitOk) {
        const MosaicFrame& f = outcome.frame;
        std::printf("wrote %s: %d x %d cells of %g m in UTM zone %d%c (EPSG:%d) from %lld pings\n",
            request.out.c_str(), f.width, f.height, f.cell, f.zone.number, f.zone.north ? 'N' : 'S',
            f.zone.Epsg(), static_cast<long long>(outcome.pings));
    }
    return status;
}

} // namespace velmaris::tool
