#pragma once
// The document's menu, toolbar and hot-key commands: each one changes a
// setting or a document state and asks for its follow-up (apply settings,
// repaint, image clear, reconnect), and each has its enable and check rule.
// Window work (dialogs, floating windows, the view, recording and playback)
// goes through CommandHooks.
//
// "Live only" commands are grey while `UDP Mode` is 1 or a playback runs.
// Execute does nothing for a grey command, whatever route it came by.
//
// Ownership: holds references only; the document and the hooks must outlive
// this object. Thread: user-interface thread only.

#include "station/CVelmarisDoc.h"
#include "station/CommandHooks.h"
#include "station/CommandTarget.h"

namespace velmaris {

// Update hint of the colour-table commands; the view does not repaint on it
// (the new table shows from the next repaint).
inline constexpr int kColorTableHint = 10;

class DocumentCommands final : public CommandTarget {
public:
    DocumentCommands(CVelmarisDoc& doc, CommandHooks& hooks);

    bool IsEnabled(int id) const override;
    bool IsChecked(int id) const override;
    void Execute(int id) override;

    // Told after every Execute; may be null.
    void SetStateObserver(CommandStateObserver* observer) { observer_ = observer; }

    // The action of "Show S&onar Settings" without its enable rule: the
    // settings load runs it (after inverting the flag) to bring the panel in
    // line with `SettingsDlgVisible`, during playback too.
    void ToggleSettingsPanel();

    // View-side flags held by the document: the colour indicator bar is
    // drawn while this is 1 (on from the start).
    int ColorIndicator() const { return colorIndicator_; }
    // 1 while the hot-keys window runs.
    int HelpOpen() const { return helpOpen_; }

private:
    bool Playback() const;
    bool LiveOnly() const; // enabled: neither UDP mode nor playback
    void Repaint(int hint = 0) { hooks_.UpdateAllViews(hint); }

    // Display (DisplayCommands.cpp).
    bool ExecuteDisplay(int id);
    void SetZoom(double zoom);
    // Modes and head settings (ModeCommands.cpp).
    bool ExecuteMode(int id);
    void Reverse();
    void ChooseSonarType(int type);
    void KeyIn(int kind);
    // Links (LinkCommands.cpp).
    bool ExecuteLink(int id);
    void ChangeIpAddress();
    void ChooseComPorts();
    // Windows and dialogs (WindowCommands.cpp).
    bool ExecuteWindow(int id);
    void ToggleDiagnostics();
    void ShowHelp();
    void ShowAbout();
    void ChooseRecordDirectory();
    void SetSoundVelocity();

    CVelmarisDoc& doc_;
    CommandHooks& hooks_;
    CommandStateObserver* observer_ = nullptr;
    int colorIndicator_ = 1;
    int helpOpen_ = 0;
};

} // namespace velmaris
