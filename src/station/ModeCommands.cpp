// Display modes, orientation, sweep reversal, the head model, and the hot
// keys that change head settings (key-in and arrows).

#include "station/CommandIds.h"
#include "station/CommandRules.h"
#include "station/DocumentCommands.h"

namespace velmaris {

bool DocumentCommands::ExecuteMode(int id)
{
    SettingsOperations& ops = doc_.Operations();
    switch (id) {
    case cmd::kModePolar:
        ops.SelectPolar();
        return true;
    case cmd::kModeSector:
        ops.SelectSector();
        return true;
    case cmd::kModeSideScan:
        ops.SelectSideScan();
        return true;
    case cmd::kOrientationUp:
        ops.SetOrientation(1);
        return true;
    case cmd::kOrientationDown:
        ops.SetOrientation(0);
        return true;
    case cmd::kReverse:
        Reverse();
        return true;
    case cmd::kSonarTypeK52A:
        ChooseSonarType(kSonarSerialK52A);
        return true;
    case cmd::kSonarTypeK52L:
        ChooseSonarType(kSonarEthernetK52L);
        return true;
    case cmd::kKeyInRange:
        KeyIn(kKeyInKindRange);
        return true;
    case cmd::kKeyInGain:
        KeyIn(kKeyInKindGain);
        return true;
    case cmd::kKeyInSectorWidth:
        KeyIn(kKeyInKindSectorWidth);
        return true;
    case cmd::kKeyInTrain:
        KeyIn(kKeyInKindTrain);
        return true;
    // The arrow keys share the spin rules (nothing during playback, no
    // sector width in SideScan, no train at full circle).
    case cmd::kSectorWider:
        ops.StepSectorWidth(+1);
        return true;
    case cmd::kSectorNarrower:
        ops.StepSectorWidth(-1);
        return true;
    case cmd::kTrainUp:
        ops.StepTrain(+1);
        return true;
    case cmd::kTrainDown:
        ops.StepTrain(-1);
        return true;
    default:
        return false;
    }
}

void DocumentCommands::Reverse()
{
    if (Playback())
        return; // the records carry the direction
    SonarState& state = doc_.State();
    SetReverseRequest(state.command);
    state.ping.directionFlag = state.ping.directionFlag != 0 ? 0 : 1;
}

void DocumentCommands::ChooseSonarType(int type)
{
    SonarSettings& s = doc_.State().settings;
    const int other = type == kSonarSerialK52A ? kSonarEthernetK52L : kSonarSerialK52A;
    if (s.sonarType != other)
        return; // already this model (or an unknown one): no save, no reconnect
    s.sonarType = type;
    // Connecting reloads the INI file, so the new model must be in it first.
    doc_.SaveSettings();
    if (!Playback())
        doc_.Cycle().StartRealTime();
}

void DocumentCommands::KeyIn(int kind)
{
    const SonarSettings& s = doc_.State().settings;
    if (Playback())
        return;
    if (kind == kKeyInKindSectorWidth && s.sectorMode == kModeSideScan)
        return;
    hooks_.ShowKeyIn(kind, KeyInPrompt(kind, s.metricScale, s.sectorMode));
}

} // namespace velmaris
