#pragma once
// What the document's commands need from the shell: the dialogs, the
// floating windows, the view, and recording and playback. The document
// keeps the rules (enable, check, follow-ups); the shell carries out the
// window work. Every method has a do-nothing default, so a command whose
// hook the shell has not supplied is shown but does nothing.
//
// Thread: user-interface thread only. Dialog hooks are modal: they return
// when the dialog has closed.

#include "protocol/SonarSettings.h"

#include <optional>
#include <string>

namespace velmaris {

class ChartWriter;

// The values the COM port dialog edits, filled from the settings before it
// runs and read back after OK.
struct ComPortChoice {
    int sonarPort = 1; // 1..32
    bool rtsMode = false; // false "Auto Enable", true "RTS Enable"
    int gpsPort = 3;
    int gpsBaudIndex = 0; // 0..5 into 4800, 9600, 19200, 38400, 57600, 115200
    int useGps = 0;
    SonarType sonarType = SonarType::SerialK52A; // read only: decides which controls the dialog enables
};

// Key-in kinds, as the key-in dialog acts on them.
enum class KeyInKind { Range, Gain, SectorWidth, Train };

class CommandHooks {
public:
    virtual ~CommandHooks() = default;

    // --- Recording and playback ---
    // "&Open File to Playback" (the hold flag is already cleared).
    virtual void OpenPlayback() { }
    // "&Record  Start (Stop)".
    virtual void ToggleRecording() { }
    // "RealTime Play Speed": available during playback with a recorded loop
    // time above 0; on while playback follows the recorded timing.
    virtual bool RealTimePlayAvailable() const { return false; }
    virtual bool RealTimePlayOn() const { return false; }
    virtual void ToggleRealTimePlay() { }

    // --- Modal dialogs ---
    // Folder browser titled "Pick a Record Directory: " (folders only). The
    // chosen folder, or nullopt on cancel.
    virtual std::optional<std::string> ChooseRecordDirectory() { return std::nullopt; }
    // "Change IP Address" pre-set to `current`; the edited text, or nullopt on cancel.
    virtual std::optional<std::string> EditIpAddress(const std::string& /*current*/) { return std::nullopt; }
    // "Choose Comm Port" on `choice`; true on OK (choice then holds the result).
    virtual bool ChooseComPorts(ComPortChoice& /*choice*/) { return false; }
    // After a confirmed port dialog: close the GPS port and reopen GPS
    // input when `UseGPS` is 1.
    virtual void RestartGpsInput() { }
    // "Input Sound Velocity" pre-set to `current`; the accepted speed, or nullopt on cancel.
    virtual std::optional<double> EditSoundVelocity(double /*current*/) { return std::nullopt; }
    // The hot-keys window, run modally.
    virtual void RunHotKeysHelp() { }
    // The about box, run modally.
    virtual void RunAboutBox() { }
    // The writer of GeoJSON, KML and GPX files; null in a build without one
    // ("Export Targets..." then writes CSV alone).
    virtual const ChartWriter* Charts() const { return nullptr; }

    // --- Floating windows ---
    // Creates the settings panel when missing, then shows or hides it (the
    // document refreshes it afterwards).
    virtual void ShowSettingsPanel(bool /*show*/) { }
    // The panel's real visibility; nullopt while it does not exist.
    virtual std::optional<bool> SettingsPanelVisible() const { return std::nullopt; }
    // Creates the diagnostics window when missing, shows or hides it and refreshes it.
    virtual void ShowDiagnostics(bool /*show*/) { }
    virtual std::optional<bool> DiagnosticsVisible() const { return std::nullopt; }
    // Puts `prompt` into the key-in dialog's label (nullopt: the label keeps
    // its last prompt), sets the kind, empties the field, places and shows
    // the dialog. Does nothing while the dialog does not exist.
    virtual void ShowKeyIn(KeyInKind /*kind*/, const std::optional<std::string>& /*prompt*/) { }

    // --- View ---
    // The framework's update of all views; the view repaints on hint 0 and
    // ignores any other hint.
    virtual void UpdateAllViews(int /*hint*/) { }
    // "&Save Screen".
    virtual void SaveScreen() { }
    // "Measure Target": toggles the view's measure mode.
    virtual void ToggleMeasureMode() { }
    virtual bool MeasureModeOn() const { return false; }
};

} // namespace velmaris
