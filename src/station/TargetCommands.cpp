#include "station/TargetCommands.h"

#include "files/PlatformFiles.h"
#include "files/SettingsLocation.h"
#include "image/MeasuredTargets.h"
#include "station/CommandIds.h"

#include <cstring>

namespace velmaris {

SaveDialogRequest TargetsSaveDialog(const std::string& writeFolder)
{
    SaveDialogRequest request;
    request.title = kExportTargetsTitle;
    request.initialFolder = writeFolder;
    request.fileName = WithTrailingSeparator(writeFolder) + kExportTargetsDefaultName;
    request.filterText = kExportTargetsFilterText;
    request.filterPattern = kExportTargetsFilterPattern;
    request.defaultExtension = "csv";
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
    const std::string path = doc_.Dialogs().AskSaveFile(TargetsSaveDialog(Settings().writeFileDirectory));
    if (path.empty())
        return;
    std::string error;
    if (!WriteFileAtomically(path, TargetsCsv(doc_.Targets()), &error))
        doc_.Messages().ShowMessage(TargetsExportFailure(path, error));
}

} // namespace velmaris
