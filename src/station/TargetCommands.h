#pragma once
// "Export Targets..." (File menu): writes the targets measured in this run
// as a CSV file chosen in a save dialog or, by the extension chosen, as
// GeoJSON, KML or GPX waypoints (one per target with a position, at its
// middle) where the shell supplies a chart writer. Grey while no target
// has been measured. The file is written through a temporary file and a rename, so a
// failed export never leaves half a file; a failure is reported with the
// path and the reason.

#include "station/CommandGroup.h"
#include "station/FileDialogs.h"

#include <string>

namespace velmaris {

inline constexpr const char* kExportTargetsTitle = "Export Targets As:";
inline constexpr const char* kExportTargetsFilterText = "Comma Separated Values";
inline constexpr const char* kExportTargetsFilterPattern = "*.csv";
inline constexpr const char* kExportTargetsDefaultName = "Targets.csv";
// The position-less list cannot go on a chart.
inline constexpr const char* kTargetsWithoutPositions = "no target has a position";

// The save dialog of "Export Targets...": in the record folder, pre-set to
// "Targets.csv", ".csv" added to a name typed without an extension; with
// `charts`, GeoJSON, KML and GPX offered too.
SaveDialogRequest TargetsSaveDialog(const std::string& writeFolder, bool charts = false);

// "Can't export the targets to PATH: REASON" (REASON the system's text for `error`).
std::string TargetsExportFailure(const std::string& path, const std::string& cause);

class TargetCommands final : public CommandGroup {
public:
    using CommandGroup::CommandGroup;

    void Register(CommandTable& table);

private:
    void Export();
};

} // namespace velmaris
