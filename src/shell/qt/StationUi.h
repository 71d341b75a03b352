#pragma once
// The main window's side of the document: what the ping cycle and the
// settings operations ask of the windows (DocumentUi), and what the sonar
// view reads (ViewSource). It forwards to the frame, the view and the
// floating windows; the floating windows plug in through `FloatingHooks`
// so this adapter does not depend on the dialogs.
//
// User-interface thread only. Holds no ownership.

#include "image/ViewSource.h"
#include "station/CVelmarisDoc.h"

#include <functional>

namespace velmaris {

class CMainFrame;
class CVelmarisView;

struct FloatingHooks {
    std::function<void()> createFloatingWindows; // diagnostics window and key-in dialog, hidden
    std::function<bool()> settingsPanelExists;
    std::function<void()> hideSettingsPanel; // entering UDP mode
    std::function<void()> refreshDiagnostics;
    std::function<void()> resetDiagnostics;
    std::function<void()> refreshSettingsPanel;
    std::function<void()> refreshMiniSettingsBar;
    std::function<void()> settingsLoaded; // show or hide the floating windows as the settings say
    std::function<bool()> colorIndicator; // the colour-indicator flag (starts on)
};

class StationUi final : public DocumentUi, public ViewSource {
public:
    void Attach(CVelmarisDoc* doc, CMainFrame* frame, CVelmarisView* view);
    FloatingHooks& Hooks() { return hooks_; }

    // DocumentUi
    void UpdateAllViews() override;
    bool FrameAwaited() const override;
    void RefreshStatusLine() override;
    void RefreshDiagnostics() override { Call(hooks_.refreshDiagnostics); }
    void ResetDiagnostics() override { Call(hooks_.resetDiagnostics); }
    void SetWindowTitle(const std::string& title) override;
    void SetControlBars(ControlBars bars) override;
    void RefreshSettingsPanel() override { Call(hooks_.refreshSettingsPanel); }
    void HidePlaybackProgress() override;
    void SettingsLoaded() override { Call(hooks_.settingsLoaded); }
    void RefreshMiniSettingsBar() override { Call(hooks_.refreshMiniSettingsBar); }
    bool SettingsPanelExists() const override
    {
        return hooks_.settingsPanelExists && hooks_.settingsPanelExists();
    }
    void RepaintAllViews() override;
    void CreateFloatingWindows() override { Call(hooks_.createFloatingWindows); }

    // The cursor read-outs of the view's last mouse move into the status
    // bar (target size, range, bearing, horizontal, vertical, and the
    // latitude and longitude when the ping on screen has a position and a
    // heading), then the ping's date and time.
    void RefreshCursorReadouts();

    // ViewSource
    const SonarState& State() const override { return doc_->State(); }
    ViewStatus Status() const override;
    ViewRequests TakeRequests() override { return TakeViewRequests(doc_->State()); }

private:
    static void Call(const std::function<void()>& hook)
    {
        if (hook)
            hook();
    }

    CVelmarisDoc* doc_ = nullptr;
    CMainFrame* frame_ = nullptr;
    CVelmarisView* view_ = nullptr;
    FloatingHooks hooks_;
};

} // namespace velmaris
