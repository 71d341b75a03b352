#pragma once
// The file dialogs of recording and playback: the save dialog that offers
// the automatic record file name, the open dialog for a playback file and
// the folder browser for the record folder. The Qt shell implements
// FileDialogs with QFileDialog; tests answer with a fake.
//
// Every call is modal and made on the user-interface thread; it returns when
// the operator has closed the dialog. An empty result means Cancel.

#include "protocol/SonarSettings.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmaris {

struct SaveDialogRequest {
    std::string title; // "Save Sonar Data File:"
    std::string initialFolder;
    std::string fileName; // pre-set: the automatic name, with its folder
    std::string filterText; // "Velmaris Data File: (*.52a)"
    std::string filterPattern; // "*.52a"
    std::string defaultExtension; // "52a", added when the typed name has none
    bool overwritePrompt = true; // ask before replacing an existing file
    bool pathMustExist = true; // the chosen folder must exist
    // Further choices after the first filter: text and pattern ("GPS
    // Exchange Format", "*.gpx"); picking one makes its extension the default.
    std::vector<std::pair<std::string, std::string>> moreFilters;
};

struct OpenDialogRequest {
    std::string title; // "Open Data File:"
    std::string initialFolder;
    std::string filterText; // "Sonar Data Files: (*.52a) (*.52l)"
    std::string filterPattern; // "*.52?"
    bool pathMustExist = true;
};

struct FolderDialogRequest {
    std::string title; // "Pick a Record Directory: "
    std::string initialFolder;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Full path of the file to write, or "" on Cancel.
    virtual std::string AskSaveFile(const SaveDialogRequest& request) = 0;
    // Full path of an existing file, or "" on Cancel.
    virtual std::string AskOpenFile(const OpenDialogRequest& request) = 0;
    // Full path of the chosen folder (without a trailing separator), or "" on Cancel.
    virtual std::string AskFolder(const FolderDialogRequest& request) = 0;
};

// The save dialog of "Record Start": filter, pattern and default extension
// follow the extension type (".52a" for the serial model, ".52l" for the
// Ethernet model).
SaveDialogRequest RecordSaveDialog(
    const std::string& writeFolder, const std::string& automaticName, SonarType extensionType);
// The open dialog of "Open File to Playback".
OpenDialogRequest PlaybackOpenDialog(const std::string& readFolder);
// The folder browser of "Set Record Directory...".
FolderDialogRequest RecordFolderDialog(const std::string& writeFolder);

// "Set Record Directory...": the folder chosen in the browser, or nullopt on
// Cancel (the command then makes it `Write File Directory` with a separator).
std::optional<std::string> AskRecordDirectory(FileDialogs& dialogs, const std::string& writeFolder);

} // namespace velmaris
