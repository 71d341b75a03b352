#include "station/FileDialogs.h"

namespace velmaris {

SaveDialogRequest RecordSaveDialog(
    const std::string& writeFolder, const std::string& automaticName, SonarType extensionType)
{
    const bool serial = extensionType == SonarType::SerialK52A;
    SaveDialogRequest request;
    request.title = "Save Sonar Data File:";
    request.initialFolder = writeFolder;
    request.fileName = automaticName;
    request.filterText = serial ? "Velmaris Data File: (*.52a)" : "Velmaris Data File: (*.52L)";
    request.filterPattern = serial ? "*.52a" : "*.52L";
    request.defaultExtension = serial ? "52a" : "52l";
    return request;
}

OpenDialogRequest PlaybackOpenDialog(const std::string& readFolder)
{
    OpenDialogRequest request;
    request.title = "Open Data File:";
    request.initialFolder = readFolder;
    request.filterText = "Sonar Data Files: (*.52a) (*.52l)";
    request.filterPattern = "*.52?";
    return request;
}

FolderDialogRequest RecordFolderDialog(const std::string& writeFolder)
{
    return FolderDialogRequest {"Pick a Record Directory: ", writeFolder};
}

std::optional<std::string> AskRecordDirectory(FileDialogs& dialogs, const std::string& writeFolder)
{
    std::string folder = dialogs.AskFolder(RecordFolderDialog(writeFolder));
    if (folder.empty())
        return std::nullopt;
    return folder;
}

} // namespace velmaris
