#pragma once
// The Show Sonar Settings command and its menu/toolbar state. The panel
// itself is a window; the document reaches it through FloatingPanel, so the
// command's rules are tested without one. User-interface thread only.

#include "document/DocumentFlags.h"
#include "document/SonarSettings.h"

namespace velmaris {

class FloatingPanel {
public:
    virtual ~FloatingPanel() = default;
    virtual bool Exists() const = 0;
    // Creates the panel hidden; it refreshes itself once created.
    virtual void Create() = 0;
    virtual bool IsShown() const = 0;
    virtual void SetShown(bool shown) = 0;
    // The panel's full refresh (automatic values first when they are on).
    virtual void Refresh() = 0;
};

// Flips `SettingsDlgVisible`, creates the panel when missing, shows it when
// the flag is now set and no playback runs (hides it otherwise), refreshes it.
void ShowSonarSettings(SonarSettings& settings, const DocumentFlags& flags, FloatingPanel& panel);

struct CommandState {
    bool enabled = false;
    bool checked = false;
};

// Menu/toolbar state: enabled only live (no UDP mode, no playback); checked
// while the panel is shown. While the panel exists `SettingsDlgVisible`
// follows its real visibility (a panel closed with its close box, or hidden
// by the system, leaves the flag right).
CommandState ShowSonarSettingsState(
    SonarSettings& settings, const DocumentFlags& flags, const FloatingPanel& panel);

} // namespace velmaris
