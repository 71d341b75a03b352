#include "station/TargetCommands.h"

#include "files/PlatformFiles.h"
#include "files/SettingsLocation.h"
#include "image/MeasuredTargets.h"
#include "station/ChartFiles.h"
#include "station/CommandIds.h"

#include <cstring>

namespace velmaris {

SaveDialogRequest TargetsSaveDialog(const std::string& writeFolder, bool charts)
{
    SaveDialogRequest request;
    request.title = kExportTargetsTitle;
    request.initialFolder = writeFolder;
    request.fileName = WithTrailingSeparator(writeFolder) + kExportTargetsDefaultName;
    request.filterText = kExportTargetsFilterText;
    request.filterPattern = kExportTargetsFilterPattern;
    request.defaultExtension = "csv";
    if (charts)
        request.moreFilters = {
            {"GeoJSON", "*.geojson"}, {"Keyhole Markup Language", "*.kml"}, {"GPS Exchange Format", "*.gpx"}};
    return request;
}

std::string TargetsExportFailure(const std::string& path, const std::string& cause)
{
    return "Can't export the targets to " + path + ": " + cause;
}

void TargetCommands::Register(CommandTable& table)
{
    table.Register(
        cmd::kExportTargets, [this] { Export(); }, [this] { return !doc_.Targets().empty(); });
}

void TargetCommands::Export()
{
    const ChartWriter* charts = hooks_.Charts();
    const std::string path
        = doc_.Dialogs().AskSaveFile(TargetsSaveDialog(Settings().writeFileDirectory, charts != nullptr));
    if (path.empty())
        return;
    std::string error;
    const ChartFormat format = ChartFormatForPath(path).value_or(ChartFormat::Csv);
    if (format == ChartFormat::Csv || charts == nullptr) {
        if (!WriteFileAtomically(path, TargetsCsv(doc_.Targets()), &error))
            doc_.Messages().ShowMessage(TargetsExportFailure(path, error));
        return;
    }
    const std::vector<Waypoint> waypoints = TargetWaypoints(doc_.Targets());
    if (waypoints.empty())
        doc_.Messages().ShowMessage(TargetsExportFailure(path, kTargetsWithoutPositions));
    else if (!charts->WriteWaypoints(path, format, waypoints, error))
        doc_.Messages().ShowMessage(TargetsExportFailure(path, error));
}

} // namespace velmaris
