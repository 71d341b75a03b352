#include "image/SonarState.h"

#include "image/PaintInputs.h"

namespace velmaris {

SonarState::SonarState()
{
    InitialiseCommandMessage(command, settings);
}

void PaintCurrentPing(SonarState& state)
{
    PaintPing(state.raster, state.history, MakePaintInputs(state.ping, state.settings, state.command),
        state.tables);
    ++state.ping.pingCount;
}

void ResetImage(SonarState& state)
{
    ClearImage(state.raster);
    ResetScanHistory(state.history, state.ping);
}

} // namespace velmaris
