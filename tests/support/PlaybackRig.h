#pragma once
// A document on fakes with file dialogs and a playback bar that record what
// they are asked and answer from queues the test fills.

#include "station/CVelmarisDoc.h"
#include "station/FileDialogs.h"
#include "station/PlaybackBarUi.h"
#include "support/CycleFakes.h"
#include "support/CycleRig.h"

#include <deque>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmaris::testing {

class FakeFileDialogs final : public FileDialogs {
public:
    std::string AskSaveFile(const SaveDialogRequest& request) override
    {
        saves.push_back(request);
        return Next(saveAnswers);
    }
    std::string AskOpenFile(const OpenDialogRequest& request) override
    {
        opens.push_back(request);
        return Next(openAnswers);
    }
    std::string AskFolder(const FolderDialogRequest& request) override
    {
        folders.push_back(request);
        return Next(folderAnswers);
    }

    // Answers in order; an empty queue answers Cancel.
    std::deque<std::string> saveAnswers, openAnswers, folderAnswers;
    std::vector<SaveDialogRequest> saves;
    std::vector<OpenDialogRequest> opens;
    std::vector<FolderDialogRequest> folders;

private:
    static std::string Next(std::deque<std::string>& answers)
    {
        if (answers.empty())
            return {};
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class FakePlaybackBar final : public PlaybackBarUi {
public:
    void ShowPlaybackBar(const PlaybackBarSetup& setup) override { shows.push_back(setup); }
    void SetPositionSlider(int position) override { positions.push_back(position); }
    void SetSpeed(int speed) override { speeds.push_back(speed); }

    std::vector<PlaybackBarSetup> shows;
    std::vector<int> positions;
    std::vector<int> speeds;
};

struct PlaybackRig : StationFakes {
    PlaybackRig()
    {
        timers.events = &doc.Events();
        doc.SetFileWindows(&dialogs, &bar);
        doc.Cycle().SetLocalTimeSource(&FixedLocalTime);
        doc.RecordingControl().SetLocalTimeSource(&FixedLocalTime);
        // The operator's settings file (without one the station waits for a
        // head to be chosen).
        std::ofstream(folder / "Velmaris.INI") << "[System Settings]\nSonarComPort=1\n";
        doc.Initialise(DocumentSetup {folder / "Velmaris.INI", folder / "", 14040, 15040});
    }

    // Writes the INI file the next start of real-time reloads.
    void SaveIni(SonarType sonarType)
    {
        SonarSettings settings;
        CommandMessage command;
        InitialiseCommandMessage(command, settings);
        settings.sonarType = sonarType;
        settings.ipAddress = "127.0.0.1";
        ASSERT_TRUE(SaveSettingsFile(folder / "Velmaris.INI", settings, command, SettingsFileContext {}));
    }

    // "Open File to Playback" with `path` chosen in the dialog.
    bool Play(const std::string& path)
    {
        dialogs.openAnswers.push_back(path);
        Player().OpenFileToPlayback();
        return state.flags.playback && doc.PlaybackFile().IsOpen();
    }
    // One expiry of the ping timer (false when it was not armed).
    bool Tick() { return timers.Fire(kPingTimer); }
    // Records read by the next tick.
    std::uint64_t RecordsInTick()
    {
        const std::uint64_t before = Player().RecordsRead();
        Tick();
        return Player().RecordsRead() - before;
    }

    Playback& Player() { return doc.PlaybackControl(); }
    velmaris::Recording& Recorder() { return doc.RecordingControl(); }
    AcquisitionState& Acq() { return doc.Cycle().Acquisition(); }

    ScratchFolder folder {"playback"};
    FakeFileDialogs dialogs;
    FakePlaybackBar bar;
    CVelmarisDoc doc {ui, Links(), reporter, clock};
    SonarState& state = doc.State();
};

} // namespace velmaris::testing
