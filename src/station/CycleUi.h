#pragma once
// What the ping cycle asks of the windows, and the hooks through which the
// later pieces of the cycle (playback, GPS) are driven by its timers, and the
// settings reload it asks of the document. The main window implements
// CycleUi; tests record the calls.
//
// Every call is made on the user-interface thread.

#include <string>

namespace velmaris {

// Which bars the main frame shows for an operating mode.
enum class ControlBars {
    RealTime, // toolbar and mini settings bar; settings panel as `SettingsDlgVisible` says
    Udp, // mini settings bar and playback bar hidden; settings panel hidden, `SettingsDlgVisible` cleared
    Playback, // playback bar instead of the mini settings bar
};

class CycleUi {
public:
    virtual ~CycleUi() = default;

    // Asks every view for a new picture of the current raster and state;
    // the views paint it with their next frame.
    virtual void UpdateAllViews() = 0;
    // A picture asked for has not been painted yet (false where frames are
    // not paced). While it waits the raster is cleared at most once.
    virtual bool FrameAwaited() const { return false; }
    // Rewrites the status bar read-out (time stamp, loop time, cursor).
    virtual void RefreshStatusLine() = 0;
    // Refreshes the diagnostics window; does nothing while it does not exist.
    virtual void RefreshDiagnostics() = 0;
    // Blanks the diagnostics window's value fields and forgets what it showed.
    virtual void ResetDiagnostics() = 0;
    virtual void SetWindowTitle(const std::string& title) = 0;
    virtual void SetControlBars(ControlBars bars) = 0;
    // Refreshes the settings panel when it exists (the rules that go with a
    // panel refresh, such as loading the automatic values, are the document's).
    virtual void RefreshSettingsPanel() = 0;
    // Hides the playback position and speed controls of the main frame.
    virtual void HidePlaybackProgress() = 0;
    // The window follow-ups of a settings load: when no playback runs, show
    // or hide the settings panel for `SettingsDlgVisible`. (The diagnostics
    // window is never shown by a load: only F3 opens it.)
    virtual void SettingsLoaded() = 0;
};

// One playback tick, run when the ping timer fires during playback (not
// while held); the tick re-arms the ping timer itself.
class PlaybackTicker {
public:
    virtual ~PlaybackTicker() = default;
    virtual void PlaybackTick() = 0;
};

// Reloads the settings file into the state, at every start of real-time
// work; the document owns the file.
class SettingsReloader {
public:
    virtual ~SettingsReloader() = default;
    virtual void ReloadSettings() = 0;
};

// One GPS poll, run when the GPS timer fires; it re-arms the timer itself.
class GpsTicker {
public:
    virtual ~GpsTicker() = default;
    virtual void GpsTick() = 0;
};

} // namespace velmaris
