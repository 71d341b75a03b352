#include "document/SettingsPanelCommand.h"

namespace velmaris {

void ShowSonarSettings(SonarSettings& settings, const DocumentFlags& flags, FloatingPanel& panel)
{
    settings.settingsDlgVisible = settings.settingsDlgVisible != 0 ? 0 : 1;
    if (!panel.Exists())
        panel.Create();
    if (!panel.Exists()) // creation failed: nothing to show
        return;
    panel.SetShown(settings.settingsDlgVisible == 1 && flags.playback == 0);
    panel.Refresh();
}

CommandState ShowSonarSettingsState(
    SonarSettings& settings, const DocumentFlags& flags, const FloatingPanel& panel)
{
    CommandState state;
    state.enabled = settings.udpMode != 1 && flags.playback == 0;
    if (panel.Exists()) {
        settings.settingsDlgVisible = panel.IsShown() ? 1 : 0;
        state.checked = panel.IsShown();
    }
    return state;
}

} // namespace velmaris
