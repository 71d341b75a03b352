#include "station/ModeCommands.h"

#include "station/CommandIds.h"
#include "station/CommandRules.h"

namespace velmaris {

void ModeCommands::Register(CommandTable& table)
{
    const CommandTable::Rule liveOnly = [this] { return LiveOnly(); };

    table.Register(
        cmd::kModePolar, [this] { doc_.Operations().SelectPolar(); }, liveOnly,
        [this] { return Settings().sectorMode == kModePolar; });
    table.Register(
        cmd::kModeSector, [this] { doc_.Operations().SelectSector(); }, liveOnly,
        [this] { return Settings().sectorMode == kModeSector; });
    table.Register(
        cmd::kModeSideScan, [this] { doc_.Operations().SelectSideScan(); }, liveOnly,
        [this] { return Settings().sectorMode == kModeSideScan; });
    table.Register(
        cmd::kOrientationUp, [this] { doc_.Operations().SetOrientation(1); }, liveOnly,
        [this] { return Settings().sonarUpDown == 1; });
    table.Register(
        cmd::kOrientationDown, [this] { doc_.Operations().SetOrientation(0); }, liveOnly,
        [this] { return Settings().sonarUpDown == 0; });
    table.Register(
        cmd::kReverse, [this] { Reverse(); }, liveOnly);
    table.Register(
        cmd::kSonarTypeK52A, [this] { ChooseSonarType(kSonarSerialK52A); }, liveOnly,
        [this] { return Settings().sonarType == kSonarSerialK52A; });
    table.Register(
        cmd::kSonarTypeK52L, [this] { ChooseSonarType(kSonarEthernetK52L); }, liveOnly,
        [this] { return Settings().sonarType == kSonarEthernetK52L; });

    table.Register(cmd::kKeyInRange, [this] { KeyIn(kKeyInKindRange); });
    table.Register(cmd::kKeyInGain, [this] { KeyIn(kKeyInKindGain); });
    table.Register(cmd::kKeyInSectorWidth, [this] { KeyIn(kKeyInKindSectorWidth); });
    table.Register(cmd::kKeyInTrain, [this] { KeyIn(kKeyInKindTrain); });
    // The arrow keys share the spin rules (nothing during playback, no
    // sector width in SideScan, no train at full circle).
    table.Register(cmd::kSectorWider, [this] { doc_.Operations().StepSectorWidth(+1); });
    table.Register(cmd::kSectorNarrower, [this] { doc_.Operations().StepSectorWidth(-1); });
    table.Register(cmd::kTrainUp, [this] { doc_.Operations().StepTrain(+1); });
    table.Register(cmd::kTrainDown, [this] { doc_.Operations().StepTrain(-1); });
}

void ModeCommands::Reverse()
{
    if (Playback())
        return; // the records carry the direction
    SonarState& state = doc_.State();
    SetReverseRequest(state.command);
    state.ping.directionFlag = state.ping.directionFlag != 0 ? 0 : 1;
}

void ModeCommands::ChooseSonarType(int type)
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

void ModeCommands::KeyIn(int kind)
{
    const SonarSettings& s = doc_.State().settings;
    if (Playback())
        return;
    if (kind == kKeyInKindSectorWidth && s.sectorMode == kModeSideScan)
        return;
    hooks_.ShowKeyIn(kind, KeyInPrompt(kind, s.metricScale, s.sectorMode));
}

} // namespace velmaris
