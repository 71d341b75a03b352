#pragma once
// The enable and check rules of the recording and playback commands, and
// the two small actions of the "File" menu that need no more than the
// settings: "Set Record Directory..." and "Auto Save File Names". The
// document-commands layer calls these; the start/stop and open actions are
// Recording::StartStop and Playback::OpenFileToPlayback.

#include "document/FileDialogs.h"
#include "document/SonarSettings.h"

namespace velmaris {

struct CommandRule {
    bool enabled = true;
    bool checked = false;
};

// 32805 "&Open File to Playback": always enabled, never checked.
CommandRule OpenPlaybackRule();
// 32806 "&Record  Start (Stop)": checked while recording.
CommandRule RecordRule(bool recording);
// 32864 "RealTime Play Speed": enabled only during playback with a recorded
// loop time above 0; checked while the real-time play flag is set.
CommandRule RealTimePlayRule(bool playback, int recordedLoopTime, bool realTimePlay);
// 32817 "Auto Save File Names": checked while `AutoSaveFileName` is set.
CommandRule AutoSaveFileNamesRule(int autoSaveFileName);

// 32790: the folder browser; on OK `Write File Directory` becomes the chosen
// folder with one trailing separator. False on Cancel (nothing changes).
bool SetRecordDirectory(FileDialogs& dialogs, SonarSettings& settings);
// 32817: inverts `AutoSaveFileName` (the automatic name is offered anyway).
void ToggleAutoSaveFileNames(SonarSettings& settings);

} // namespace velmaris
