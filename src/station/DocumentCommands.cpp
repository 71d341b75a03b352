#include "station/DocumentCommands.h"

#include "station/CommandIds.h"
#include "station/CommandRules.h"

namespace velmaris {

namespace {

bool Within(int id, int first, int last)
{
    return id >= first && id <= last;
}

} // namespace

DocumentCommands::DocumentCommands(CVelmarisDoc& doc, CommandHooks& hooks)
    : doc_(doc)
    , hooks_(hooks)
{ }

bool DocumentCommands::Playback() const
{
    return doc_.State().flags.playback != 0;
}

bool DocumentCommands::LiveOnly() const
{
    return doc_.State().settings.udpMode != 1 && !Playback();
}

bool DocumentCommands::IsEnabled(int id) const
{
    const SonarSettings& s = doc_.State().settings;
    switch (id) {
    case cmd::kOrientationUp:
    case cmd::kOrientationDown:
    case cmd::kReverse:
    case cmd::kModePolar:
    case cmd::kModeSector:
    case cmd::kModeSideScan:
    case cmd::kShowSonarSettings:
    case cmd::kSonarTypeK52A:
    case cmd::kSonarTypeK52L:
        return LiveOnly();
    case cmd::kIpAddress:
        return s.sonarType == kSonarEthernetK52L && !Playback();
    case cmd::kChooseComPorts:
        return s.sonarType != kSonarEthernetK52L && !Playback();
    case cmd::kConnect:
        return doc_.Cycle().Acquisition().linkState != kLinkUp;
    case cmd::kRealTimePlaySpeed:
        return hooks_.RealTimePlayAvailable();
    case cmd::kMeasureTarget:
        return s.sectorMode != kModeSideScan;
    default:
        return true;
    }
}

bool DocumentCommands::IsChecked(int id) const
{
    const SonarSettings& s = doc_.State().settings;
    if (Within(id, cmd::kColorTableFirst, cmd::kColorTableLast))
        return s.colorTable == id - cmd::kColorTableFirst;
    if (Within(id, cmd::kZoomFirst, cmd::kZoomLast))
        return s.zoom == ZoomForMenuId(id); // exactly: 1.3 checks no item
    if (Within(id, cmd::kProfileFirst, cmd::kProfileLast))
        return s.profileDispMode == id - cmd::kProfileFirst;
    if (Within(id, cmd::kPointSizeFirst, cmd::kPointSizeLast))
        return s.profilePointSize == id - cmd::kPointSizeFirst;
    switch (id) {
    case cmd::kShowSonarSettings:
        return hooks_.SettingsPanelVisible().value_or(s.settingsDlgVisible != 0);
    case cmd::kDiagnostics:
        return hooks_.DiagnosticsVisible().value_or(s.diagnosticsVisible != 0);
    case cmd::kRecord:
        return doc_.IsRecording();
    case cmd::kHold:
        return doc_.Cycle().Acquisition().held != 0;
    case cmd::kModePolar:
        return s.sectorMode == kModePolar;
    case cmd::kModeSector:
        return s.sectorMode == kModeSector;
    case cmd::kModeSideScan:
        return s.sectorMode == kModeSideScan;
    case cmd::kHelp:
        return helpOpen_ != 0;
    case cmd::kColorIndicator:
        return colorIndicator_ != 0;
    case cmd::kGridNone:
        return s.grid == 0;
    case cmd::kGridPolar:
        return s.grid == 1;
    case cmd::kGridRectangular:
        return s.grid == 2;
    case cmd::kUnitsMeters:
        return s.metricScale == 0;
    case cmd::kUnitsFeet:
        return s.metricScale == 1;
    case cmd::kAutoSaveFileNames:
        return s.autoSaveFileName != 0;
    case cmd::kOrientationDown:
        return s.sonarUpDown == 0;
    case cmd::kOrientationUp:
        return s.sonarUpDown == 1;
    case cmd::kRealTimePlaySpeed:
        return hooks_.RealTimePlayOn();
    case cmd::kSonarTypeK52A:
        return s.sonarType == kSonarSerialK52A;
    case cmd::kSonarTypeK52L:
        return s.sonarType == kSonarEthernetK52L;
    case cmd::kRangeMarker:
        return s.viewRangeMark != 0;
    case cmd::kZeroDown:
        return s.zeroDown != 0;
    case cmd::kMeasureTarget:
        return hooks_.MeasureModeOn();
    default:
        return false;
    }
}

void DocumentCommands::Execute(int id)
{
    if (!IsEnabled(id))
        return;
    if (!ExecuteDisplay(id) && !ExecuteMode(id) && !ExecuteLink(id))
        ExecuteWindow(id);
    if (observer_)
        observer_->CommandStatesChanged();
}

} // namespace velmaris
