#include "station/WindowCommands.h"

#include "station/CommandIds.h"
#include "station/CommandRules.h"

#include <cmath>

namespace velmaris {

namespace {

constexpr int kAboutResumeDelayMs = 0;
constexpr double kMinSoundVelocity = 1400.0;
constexpr double kMaxSoundVelocity = 1600.0;

} // namespace

void WindowCommands::Register(CommandTable& table)
{
    table.Register(
        cmd::kShowSonarSettings, [this] { ShowSonarSettings(); }, [this] { return LiveOnly(); },
        [this] { return hooks_.SettingsPanelVisible().value_or(Settings().settingsDlgVisible != 0); });
    table.Register(
        cmd::kDiagnostics, [this] { ToggleDiagnostics(); }, nullptr,
        [this] { return hooks_.DiagnosticsVisible().value_or(Settings().diagnosticsVisible != 0); });
    table.Register(
        cmd::kHelp, [this] { ShowHelp(); }, nullptr, [this] { return helpOpen_ != 0; });
    table.Register(cmd::kAbout, [this] { ShowAbout(); });
    table.Register(cmd::kOpenPlayback, [this] {
        doc_.Cycle().Acquisition().held = false;
        hooks_.OpenPlayback();
    });
    table.Register(
        cmd::kRecord, [this] { hooks_.ToggleRecording(); }, nullptr, [this] { return doc_.IsRecording(); });
    table.Register(
        cmd::kRealTimePlaySpeed, [this] { hooks_.ToggleRealTimePlay(); },
        [this] { return hooks_.RealTimePlayAvailable(); }, [this] { return hooks_.RealTimePlayOn(); });
    // Only the check mark: the automatic name is offered every time.
    table.Register(
        cmd::kAutoSaveFileNames,
        [this] { Settings().autoSaveFileName = Settings().autoSaveFileName != 0 ? 0 : 1; }, nullptr,
        [this] { return Settings().autoSaveFileName != 0; });
    table.Register(cmd::kSetRecordDirectory, [this] { ChooseRecordDirectory(); });
    table.Register(cmd::kSoundVelocity, [this] { SetSoundVelocity(); });
    table.Register(cmd::kSaveScreen, [this] { hooks_.SaveScreen(); });
    table.Register(
        cmd::kMeasureTarget, [this] { hooks_.ToggleMeasureMode(); },
        [this] { return Settings().sectorMode != DisplayMode::SideScan; },
        [this] { return hooks_.MeasureModeOn(); });
}

void WindowCommands::ShowSonarSettings()
{
    // The flag follows the panel's real visibility (its close box hides it).
    if (const std::optional<bool> visible = hooks_.SettingsPanelVisible())
        Settings().settingsDlgVisible = *visible ? 1 : 0;
    ToggleSettingsPanel();
}

void WindowCommands::ToggleSettingsPanel()
{
    int& visible = doc_.State().settings.settingsDlgVisible;
    visible = visible != 0 ? 0 : 1;
    hooks_.ShowSettingsPanel(visible == 1 && !Playback());
    doc_.Operations().RefreshSettingsPanel();
}

void WindowCommands::ToggleDiagnostics()
{
    int& visible = doc_.State().settings.diagnosticsVisible;
    if (const std::optional<bool> shown = hooks_.DiagnosticsVisible())
        visible = *shown ? 1 : 0;
    visible = visible != 0 ? 0 : 1;
    hooks_.ShowDiagnostics(visible == 1);
}

void WindowCommands::ShowHelp()
{
    if (helpOpen_ != 0)
        return; // F1 from inside the window
    // A modal window would otherwise let the playback run on unseen.
    if (Playback())
        doc_.Cycle().KillAllTimers();
    helpOpen_ = 1;
    // The Help button shows checked while the window runs.
    if (statesChanged_)
        statesChanged_();
    hooks_.RunHotKeysHelp();
    helpOpen_ = 0;
    if (Playback())
        doc_.Cycle().ArmPingTimer(kResumePingDelayMs);
}

void WindowCommands::ShowAbout()
{
    if (Playback())
        doc_.Cycle().KillAllTimers();
    hooks_.RunAboutBox();
    if (Playback())
        doc_.Cycle().ArmPingTimer(kAboutResumeDelayMs);
}

void WindowCommands::ChooseRecordDirectory()
{
    const std::optional<std::string> folder = hooks_.ChooseRecordDirectory();
    if (!folder || folder->empty())
        return;
    doc_.State().settings.writeFileDirectory = RecordDirectoryFrom(*folder);
}

void WindowCommands::SetSoundVelocity()
{
    const std::optional<double> speed = hooks_.EditSoundVelocity(doc_.State().settings.speedOfSound);
    // The dialog accepts only this range; anything else is not a speed of sound.
    if (!speed || !std::isfinite(*speed) || *speed < kMinSoundVelocity || *speed > kMaxSoundVelocity)
        return;
    doc_.State().settings.speedOfSound = *speed;
}

} // namespace velmaris
