#pragma once
// Holds the floating settings panel for the document: creates it on demand
// (hidden, owned by the main window), shows, hides, refreshes and destroys
// it. The show-settings command reaches it through the shell's hooks; the
// window adapter calls Exists() and RefreshDisplay().
//
// Ownership: owns the panel; settings, message and operations belong to the
// document and outlive this object. User-interface thread only.

#include "controls/qt/CCtrlPanelDlg.h"

#include <QPointer>
#include <functional>
#include <utility>

namespace velmaris {

class SettingsPanelWindow {
public:
    SettingsPanelWindow(SonarSettings& settings, CommandMessage& message, SettingsOperations& operations,
        QWidget* mainWindow);
    ~SettingsPanelWindow();

    // Called with every panel created, e.g. to connect hideKeyInRequested.
    void SetOnCreated(std::function<void(CCtrlPanelDlg&)> onCreated) { onCreated_ = std::move(onCreated); }

    bool Exists() const { return panel_ != nullptr; }
    void Create();
    bool IsShown() const;
    void SetShown(bool shown);
    // Display refresh only (what the SettingsHost calls).
    void RefreshDisplay();
    // Full refresh: automatic values first when they are on.
    void Refresh();
    void Destroy();

    CCtrlPanelDlg* Panel() const { return panel_; }

private:
    SonarSettings& settings_;
    CommandMessage& message_;
    SettingsOperations& operations_;
    QPointer<QWidget> mainWindow_;
    QPointer<CCtrlPanelDlg> panel_;
    std::function<void(CCtrlPanelDlg&)> onCreated_;
};

} // namespace velmaris
