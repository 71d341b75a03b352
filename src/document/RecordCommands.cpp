#include "document/RecordCommands.h"

#include "document/SettingsLocation.h"

namespace velmaris {

CommandRule OpenPlaybackRule()
{
    return CommandRule {true, false};
}

CommandRule RecordRule(bool recording)
{
    return CommandRule {true, recording};
}

CommandRule RealTimePlayRule(bool playback, int recordedLoopTime, bool realTimePlay)
{
    return CommandRule {playback && recordedLoopTime > 0, realTimePlay};
}

CommandRule AutoSaveFileNamesRule(int autoSaveFileName)
{
    return CommandRule {true, autoSaveFileName != 0};
}

bool SetRecordDirectory(FileDialogs& dialogs, SonarSettings& settings)
{
    const std::string folder = dialogs.AskFolder(RecordFolderDialog(settings.writeFileDirectory));
    if (folder.empty())
        return false;
    settings.writeFileDirectory = WithTrailingSeparator(folder);
    return true;
}

void ToggleAutoSaveFileNames(SonarSettings& settings)
{
    settings.autoSaveFileName = settings.autoSaveFileName != 0 ? 0 : 1;
}

} // namespace velmaris
