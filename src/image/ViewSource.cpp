#include "image/ViewSource.h"

#include "image/ScanLinePainter.h"
#include "image/ViewInteraction.h"

namespace velmaris {

ViewRequests TakeViewRequests(SonarState& state)
{
    ViewRequests requests;
    if (state.flags.viewRecentreRequest) {
        requests.recentre = true;
        // The raster is painted at the zoomed scale: left in place it would
        // show old targets at wrong ranges around the new range ring.
        if (state.settings.zoom != 1.0)
            ClearImage(state.raster);
        state.settings.zoom = 1.0;
        state.flags.viewRecentreRequest = false;
    }
    if (state.flags.statusResetRequest) {
        requests.statusReset = true;
        state.flags.statusResetRequest = false;
    }
    return requests;
}

void ServeViewRequests(const ViewRequests& requests, ViewInteraction& view)
{
    if (requests.recentre)
        RecentreView(view);
    if (requests.statusReset) {
        view.blinkState = false;
        view.blinkCounter = 0;
    }
}

} // namespace velmaris
