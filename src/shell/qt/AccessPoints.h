#pragma once
// The station-wide access points: the main frame, the document and the
// floating windows, each empty (null) while its object does not exist. Only
// the shell and the dialogs use them; the core is handed what it needs and
// never reaches for them. Written and read on the user-interface thread.

namespace velmaris {

class CDiagDlg;
class CKeyInDlg;
class CMainFrame;
class CVelmarisDoc;
class SettingsPanelWindow;

struct AccessPoints {
    static CMainFrame* MainFrame() { return mainFrame; }
    static CVelmarisDoc* Document() { return document; }
    static SettingsPanelWindow* SettingsPanel() { return settingsPanel; }
    static CKeyInDlg* KeyIn() { return keyIn; }
    static CDiagDlg* Diagnostics() { return diagnostics; }

    static inline CMainFrame* mainFrame = nullptr;
    static inline CVelmarisDoc* document = nullptr;
    static inline SettingsPanelWindow* settingsPanel = nullptr;
    static inline CKeyInDlg* keyIn = nullptr;
    static inline CDiagDlg* diagnostics = nullptr;
};

} // namespace velmaris
