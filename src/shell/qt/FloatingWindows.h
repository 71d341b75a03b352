#pragma once
// The station's floating windows and operator controls, created for the one
// document: the mini settings bar (docked in the frame), the settings panel,
// the key-in dialog and the sound velocity dialog. It plugs them into the
// window adapter and the command hooks, and hides the key-in dialog whenever
// the main frame gains the focus.
//
// Ownership: the frame owns the widgets it docks and parents; this object
// owns the panel holder. User-interface thread only.

#include <QObject>
#include <memory>

namespace velmaris {

class CKeyInDlg;
class CMainFrame;
class CMiniSettingsBar;
class CVelmarisDoc;
class DocumentCommands;
class Reporter;
class SettingsPanelWindow;
class StationHooks;
class StationUi;

class FloatingWindows final : public QObject {
public:
    FloatingWindows(CVelmarisDoc& doc, CMainFrame& frame, Reporter& reporter);
    ~FloatingWindows() override;

    // Wires the windows into the adapter and the hooks; `commands` runs the
    // show-settings command after a settings load.
    void Plug(StationUi& ui, StationHooks& hooks, DocumentCommands& commands);
    // Destroys the floating windows (document close).
    void Destroy();

    CKeyInDlg* KeyIn() const { return keyIn_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateKeyIn();

    CVelmarisDoc& doc_;
    CMainFrame& frame_;
    Reporter& reporter_;
    CMiniSettingsBar* miniBar_ = nullptr;
    CKeyInDlg* keyIn_ = nullptr;
    std::unique_ptr<SettingsPanelWindow> panel_;
};

} // namespace velmaris
