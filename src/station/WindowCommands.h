#pragma once
// Commands carried out by windows of the shell: floating windows, modal
// dialogs, the view's own commands, and recording and playback.

#include "station/CommandGroup.h"

#include <functional>

namespace velmaris {

class WindowCommands final : public CommandGroup {
public:
    // `statesChanged` is called when a state changes in the middle of a
    // command (the help window's check while it runs); it may be empty.
    WindowCommands(CVelmarisDoc& doc, CommandHooks& hooks, std::function<void()> statesChanged)
        : CommandGroup(doc, hooks)
        , statesChanged_(std::move(statesChanged))
    { }

    void Register(CommandTable& table);

    // The action of "Show S&onar Settings" without its enable rule: the
    // settings load runs it (after inverting the flag) to bring the panel in
    // line with `SettingsDlgVisible`, during playback too.
    void ToggleSettingsPanel();
    // 1 while the hot-keys window runs.
    int HelpOpen() const { return helpOpen_; }

private:
    void ShowSonarSettings();
    void ToggleDiagnostics();
    void ShowHelp();
    void ShowAbout();
    void ChooseRecordDirectory();
    void SetSoundVelocity();

    std::function<void()> statesChanged_;
    int helpOpen_ = 0;
};

} // namespace velmaris
