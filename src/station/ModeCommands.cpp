#include "station/ModeCommands.h"

#include "station/CommandIds.h"
#include "station/CommandRules.h"

namespace velmaris {

void ModeCommands::Register(CommandTable& table)
{
    const CommandTable::Rule liveOnly = [this] { return LiveOnly(); };

    table.Register(
        cmd::kModePolar, [this] { doc_.Operations().SelectPolar(); }, liveOnly,
        [this] { return Settings().sectorMode == DisplayMode::Polar; });
    table.Register(
        cmd::kModeSector, [this] { doc_.Operations().SelectSector(); }, liveOnly,
        [this] { return Settings().sectorMode == DisplayMode::Sector; });
    table.Register(
        cmd::kModeSideScan, [this] { doc_.Operations().SelectSideScan(); }, liveOnly,
        [this] { return Settings().sectorMode == DisplayMode::SideScan; });
    table.Register(
        cmd::kOrientationUp, [this] { doc_.Operations().SetOrientation(1); }, liveOnly,
        [this] { return Settings().sonarUpDown == 1; });
    table.Register(
        cmd::kOrientationDown, [this] { doc_.Operations().SetOrientation(0); }, liveOnly,
        [this] { return Settings().sonarUpDown == 0; });
    table.Register(
        cmd::kReverse, [this] { Reverse(); }, liveOnly);
    table.Register(
        cmd::kSonarTypeK52A, [this] { ChooseSonarType(SonarType::SerialK52A); }, liveOnly,
        [this] { return Settings().sonarType == SonarType::SerialK52A; });
    table.Register(
        cmd::kSonarTypeK52L, [this] { ChooseSonarType(SonarType::EthernetK52L); }, liveOnly,
        [this] { return Settings().sonarType == SonarType::EthernetK52L; });

    table.Register(cmd::kKeyInRange, [this] { KeyIn(KeyInKind::Range); });
    table.Register(cmd::kKeyInGain, [this] { KeyIn(KeyInKind::Gain); });
    table.Register(cmd::kKeyInSectorWidth, [this] { KeyIn(KeyInKind::SectorWidth); });
    table.Register(cmd::kKeyInTrain, [this] { KeyIn(KeyInKind::Train); });
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

void ModeCommands::ChooseSonarType(SonarType type)
{
    SonarSettings& s = doc_.State().settings;
    if (s.sonarType == type)
        return; // already this model: no save, no reconnect
    s.sonarType = type;
    // Connecting reloads the INI file, so the new model must be in it first.
    doc_.SaveSettings();
    if (!Playback())
        doc_.Cycle().StartRealTime();
}

void ModeCommands::KeyIn(KeyInKind kind)
{
    const SonarSettings& s = doc_.State().settings;
    if (Playback())
        return;
    if (kind == KeyInKind::SectorWidth && s.sectorMode == DisplayMode::SideScan)
        return;
    hooks_.ShowKeyIn(kind, KeyInPrompt(kind, s.metricScale, s.sectorMode));
}

} // namespace velmaris
