// Commands carried out by windows of the shell: floating windows, modal
// dialogs, the view's own commands, and recording and playback.

#include "station/CommandIds.h"
#include "station/CommandRules.h"
#include "station/DocumentCommands.h"

#include <cmath>

namespace velmaris {

namespace {

constexpr int kAboutResumeDelayMs = 0;
constexpr double kMinSoundVelocity = 1400.0;
constexpr double kMaxSoundVelocity = 1600.0;

} // namespace

bool DocumentCommands::ExecuteWindow(int id)
{
    switch (id) {
    case cmd::kShowSonarSettings:
        // The flag follows the panel's real visibility (its close box hides it).
        if (const std::optional<bool> visible = hooks_.SettingsPanelVisible())
            doc_.State().settings.settingsDlgVisible = *visible ? 1 : 0;
        ToggleSettingsPanel();
        return true;
    case cmd::kDiagnostics:
        ToggleDiagnostics();
        return true;
    case cmd::kHelp:
        ShowHelp();
        return true;
    case cmd::kAbout:
        ShowAbout();
        return true;
    case cmd::kOpenPlayback:
        doc_.Cycle().Acquisition().held = 0;
        hooks_.OpenPlayback();
        return true;
    case cmd::kRecord:
        hooks_.ToggleRecording();
        return true;
    case cmd::kRealTimePlaySpeed:
        hooks_.ToggleRealTimePlay();
        return true;
    case cmd::kAutoSaveFileNames: {
        // Only the check mark: the automatic name is offered every time.
        int& autoSave = doc_.State().settings.autoSaveFileName;
        autoSave = autoSave != 0 ? 0 : 1;
        return true;
    }
    case cmd::kSetRecordDirectory:
        ChooseRecordDirectory();
        return true;
    case cmd::kSoundVelocity:
        SetSoundVelocity();
        return true;
    case cmd::kSaveScreen:
        hooks_.SaveScreen();
        return true;
    case cmd::kMeasureTarget:
        hooks_.ToggleMeasureMode();
        return true;
    default:
        return false;
    }
}

void DocumentCommands::ToggleSettingsPanel()
{
    int& visible = doc_.State().settings.settingsDlgVisible;
    visible = visible != 0 ? 0 : 1;
    hooks_.ShowSettingsPanel(visible == 1 && !Playback());
    doc_.Operations().RefreshSettingsPanel();
}

void DocumentCommands::ToggleDiagnostics()
{
    int& visible = doc_.State().settings.diagnosticsVisible;
    if (const std::optional<bool> shown = hooks_.DiagnosticsVisible())
        visible = *shown ? 1 : 0;
    visible = visible != 0 ? 0 : 1;
    hooks_.ShowDiagnostics(visible == 1);
}

void DocumentCommands::ShowHelp()
{
    if (helpOpen_ != 0)
        return; // F1 from inside the window
    // A modal window would otherwise let the playback run on unseen.
    if (Playback())
        doc_.Cycle().KillAllTimers();
    helpOpen_ = 1;
    hooks_.RunHotKeysHelp();
    helpOpen_ = 0;
    if (Playback())
        doc_.Cycle().ArmPingTimer(kResumePingDelayMs);
}

void DocumentCommands::ShowAbout()
{
    if (Playback())
        doc_.Cycle().KillAllTimers();
    hooks_.RunAboutBox();
    if (Playback())
        doc_.Cycle().ArmPingTimer(kAboutResumeDelayMs);
}

void DocumentCommands::ChooseRecordDirectory()
{
    const std::optional<std::string> folder = hooks_.ChooseRecordDirectory();
    if (!folder || folder->empty())
        return;
    doc_.State().settings.writeFileDirectory = RecordDirectoryFrom(*folder);
}

void DocumentCommands::SetSoundVelocity()
{
    const std::optional<double> speed = hooks_.EditSoundVelocity(doc_.State().settings.speedOfSound);
    // The dialog accepts only this range; anything else is not a speed of sound.
    if (!speed || !std::isfinite(*speed) || *speed < kMinSoundVelocity || *speed > kMaxSoundVelocity)
        return;
    doc_.State().settings.speedOfSound = *speed;
}

} // namespace velmaris
