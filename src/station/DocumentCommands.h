#pragma once
// The document's menu, toolbar and hot-key commands, as the one command
// target the main frame talks to. The commands live in a CommandTable, each
// registered with its enable and check rules beside its handler by its
// group: DisplayCommands, ModeCommands, LinkCommands, WindowCommands,
// TargetCommands. Window work (dialogs, floating windows, the view,
// recording and playback) goes through CommandHooks.
//
// Execute does nothing for a grey command, whatever route it came by.
//
// The frame (the state observer) is told after every command that ran, and
// whenever the document's word that its state may have changed (after a
// timer or link event, a settings load, a mode change...) finds that some
// command's enable or check state really changed: no polling.
//
// Ownership: holds references only; the document and the hooks must outlive
// this object. One per document: it listens to the document from
// construction to destruction. Thread: user-interface thread only.

#include "station/CVelmarisDoc.h"
#include "station/CommandHooks.h"
#include "station/CommandTable.h"
#include "station/CommandTarget.h"
#include "station/DisplayCommands.h"
#include "station/LinkCommands.h"
#include "station/ModeCommands.h"
#include "station/TargetCommands.h"
#include "station/WindowCommands.h"

#include <cstdint>
#include <vector>

namespace velmaris {

class DocumentCommands final : public CommandTarget, private CommandStateObserver {
public:
    DocumentCommands(CVelmarisDoc& doc, CommandHooks& hooks);
    ~DocumentCommands() override;
    DocumentCommands(const DocumentCommands&) = delete;
    DocumentCommands& operator=(const DocumentCommands&) = delete;

    bool IsEnabled(int id) const override { return table_.IsEnabled(id); }
    bool IsChecked(int id) const override { return table_.IsChecked(id); }
    void Execute(int id) override;

    // Told after every command that ran and on every change of a command's
    // state outside a command; may be null.
    void SetStateObserver(CommandStateObserver* observer);

    // The action of "Show S&onar Settings" without its enable rule: the
    // settings load runs it (after inverting the flag) to bring the panel in
    // line with `SettingsDlgVisible`, during playback too.
    void ToggleSettingsPanel() { window_.ToggleSettingsPanel(); }

    // View-side flags held by the document: the colour indicator bar is
    // drawn while this is 1 (on from the start).
    int ColorIndicator() const { return display_.ColorIndicator(); }
    // 1 while the hot-keys window runs.
    int HelpOpen() const { return window_.HelpOpen(); }

    const CommandTable& Table() const { return table_; }

private:
    // The document's word: re-reads every state, tells the observer on a change.
    void CommandStatesChanged() override;
    void TellObserver();

    CVelmarisDoc& doc_;
    CommandTable table_;
    DisplayCommands display_;
    ModeCommands mode_;
    LinkCommands link_;
    WindowCommands window_;
    TargetCommands targets_;
    CommandStateObserver* observer_ = nullptr;
    std::vector<std::uint8_t> told_; // the states as last told
    std::vector<std::uint8_t> latest_; // scratch for the next comparison
};

} // namespace velmaris
