#include "image/ViewSource.h"

namespace velmaris {

ViewRequests TakeViewRequests(SonarState& state)
{
    ViewRequests requests;
    if (state.flags.viewRecentreRequest != 0) {
        requests.recentre = true;
        state.settings.zoom = 1.0;
        state.flags.viewRecentreRequest = 0;
    }
    if (state.flags.statusResetRequest != 0) {
        requests.statusReset = true;
        state.flags.statusResetRequest = 0;
    }
    return requests;
}

} // namespace velmaris
