#pragma once
// The station's floating windows and operator controls, created for the one
// document: the mini settings bar (docked in the frame), the settings panel,
// the diagnostics window, the key-in dialog and the sound velocity dialog. It plugs them into the
// window adapter and the command hooks, and hides the key-in dialog whenever
// the main frame gains the focus. The panel and the diagnostics window open
// where they cover no menu, bar or text of the view and hide the least of
// the sonar picture (FloatingPlacement) the first time, and where the
// operator left them afterwards, always on the screen.
//
// Ownership: the frame owns the widgets it docks and parents; this object
// owns the panel holder. User-interface thread only.

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

namespace velmaris {

class CDiagDlg;
class CKeyInDlg;
class CMainFrame;
class CMiniSettingsBar;
class CVelmarisDoc;
class DocumentCommands;
class Reporter;
class SettingsPanelWindow;
class StationHooks;
class StationUi;
struct PlacementScene;

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
    CDiagDlg* Diagnostics() const { return diag_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateKeyIn();
    void CreateDiagnostics();
    void RefreshDiagnostics();
    // Shows `window` where it belongs (see above) or hides it.
    void SetFloatingShown(QWidget* window, bool shown);
    // The main window, its view and what `window` must leave in sight.
    PlacementScene SceneFor(const QWidget* window) const;
    void PlaceFirst(QWidget* window);
    bool FrameExposed() const;
    // The windows first placed before the main window was on the screen,
    // placed again once it is.
    void PlaceAgain();

    CVelmarisDoc& doc_;
    CMainFrame& frame_;
    Reporter& reporter_;
    CMiniSettingsBar* miniBar_ = nullptr;
    CKeyInDlg* keyIn_ = nullptr;
    CDiagDlg* diag_ = nullptr;
    std::unique_ptr<SettingsPanelWindow> panel_;
    std::vector<QPointer<QWidget>> placeAgain_;
};

} // namespace velmaris
