#pragma once
// The one document of the station, the hub that owns everything lasting:
// the sonar state (settings, command message, ping, raster, tables), the
// settings operations, the ping cycle, the record writer, the playback file
// and the INI path. It wires these pieces together; the logic lives in them.
//
// The Qt shell creates the document with its window interface (DocumentUi)
// and the four link objects, delivers every timer and link notification to
// Events(), and calls Initialise once, Close once at exit.
//
// Ownership: the UI, links, reporter and clock are the caller's and must
// outlive the document. Thread: user-interface thread only.

#include "files/DataFile.h"
#include "files/RecordWriter.h"
#include "files/Reporter.h"
#include "files/SettingsStore.h"
#include "image/MeasuredTargets.h"
#include "image/SonarState.h"
#include "image/ViewSource.h"
#include "links/CTimer.h"
#include "links/Links.h"
#include "settings/SettingsHost.h"
#include "settings/SettingsOperations.h"
#include "station/CommandTarget.h"
#include "station/CursorPlaces.h"
#include "station/CycleUi.h"
#include "station/FileDialogs.h"
#include "station/PingCycle.h"
#include "station/Playback.h"
#include "station/PlaybackBarUi.h"
#include "station/Recording.h"
#include "station/TrackRecording.h"

#include <memory>
#include <string>
#include <vector>

namespace velmaris {

// Everything the document asks of the main window: the cycle's calls plus
// what the settings operations need.
class DocumentUi : public CycleUi {
public:
    // Rewrites the mini settings bar's fields from the document.
    virtual void RefreshMiniSettingsBar() = 0;
    // True once the floating settings panel has been created (shown or not).
    virtual bool SettingsPanelExists() const = 0;
    // Marks the views for a full redraw and repaints them now.
    virtual void RepaintAllViews() = 0;
    // Creates the diagnostics window and the key-in dialog, hidden, when
    // they do not exist yet.
    virtual void CreateFloatingWindows() = 0;
    // (CycleUi::RefreshSettingsPanel here only redraws the panel; the
    // document runs the panel's rules before calling it.)
};

struct DocumentSetup {
    std::string iniPath; // "Velmaris.INI" beside the program, or where --ini says
    std::string dataFolder; // initial `Read File Directory` / `Write File Directory`
    int headTcpPort = kHeadTcpPort; // tests and --demo use other ports
    int udpPort = kUdpListenPort;
};

class CVelmarisDoc final : private SettingsReloader {
public:
    CVelmarisDoc(
        DocumentUi& ui, CycleLinks links, Reporter& reporter, const Clock& clock = SteadyClock::Instance());
    ~CVelmarisDoc();
    CVelmarisDoc(const CVelmarisDoc&) = delete;
    CVelmarisDoc& operator=(const CVelmarisDoc&) = delete;

    // Document initialisation: INI path and default folders, recording off,
    // floating windows created, `UDP Mode` 0, INI loaded (with its window
    // follow-ups), image raster zeroed. The head counts as chosen only when
    // the file names its port or address (see PingCycle::SetHeadChosen).
    void Initialise(const DocumentSetup& setup);
    // Document close: saves the settings, then stops the cycle (timers,
    // serial worker, files, sockets). False when the INI file could not be
    // written. The shell destroys its floating windows afterwards.
    bool Close();

    bool SaveSettings();
    void ApplySettings() { operations_.ApplySettings(); }

    SonarState& State() { return *state_; }
    const SonarState& State() const { return *state_; }
    SettingsOperations& Operations() { return operations_; }
    PingCycle& Cycle() { return cycle_; }
    const PingCycle& Cycle() const { return cycle_; }
    // Where the timers and links deliver their events (to the cycle; the
    // state observer is told after each one).
    LinkEvents& Events() { return events_; }
    RecordWriter& Recorder() { return recorder_; }
    bool IsRecording() const { return recorder_.IsRecording(); }
    DataFile& PlaybackFile() { return playbackFile_; }
    const std::string& IniPath() const { return settingsStore_.Path(); }
    // The settings file over the run (what the first load found, where an
    // unreadable file went).
    SettingsStore& Settings() { return settingsStore_; }

    // The shell's file dialogs and playback bar (they must outlive the
    // document or be detached with nullptr). Until they are attached every
    // dialog answers Cancel and the bar calls go nowhere.
    void SetFileWindows(FileDialogs* dialogs, PlaybackBarUi* bar);
    // Record start/stop and record file (commands 32806, the command line).
    Recording& RecordingControl() { return recording_; }
    // The track beside the recording: the GPS input hands it every sentence.
    TrackRecording& Track() { return track_; }
    // Where the points on the screen lie: the GPS input hands it every
    // sentence too.
    CursorPlaces& Places() { return places_; }
    // The navigation of the ping on screen: from the sentences received
    // lately, or in playback from the track beside the file.
    PingNavigation ScreenNavigation()
    {
        return places_.NavigationOf(
            State().ping, State().flags.playback, playback_.FileName(), AntennaOffsetsOf(State().settings));
    }
    const Recording& RecordingControl() const { return recording_; }
    // Playback: open (32805, dropped files), the tick the ping timer runs,
    // the playback bar's slider and speed, "RealTime Play Speed" (32864).
    Playback& PlaybackControl() { return playback_; }
    const Playback& PlaybackControl() const { return playback_; }
    FileDialogs& Dialogs() { return fileWindows_; }
    // Where the operator's messages go (the one reporter).
    Reporter& Messages() { return reporter_; }

    // What the view's overlays show. The link, awaiting-reply and blink
    // values are those the cycle left when it last asked for a picture (the
    // end of a ping), not what the command sent since has set: the next
    // command leaves before the picture is painted. The colour-indicator
    // flag is the window's and stays at its default here.
    ViewStatus Status() const;

    // The targets measured during this run, oldest first ("Measure Target"
    // adds one per finished measurement; "Export Targets..." writes them).
    // Nothing clears the list before the program ends, and nothing of it is
    // written to the settings or the data files.
    std::vector<MeasuredTarget>& Targets() { return targets_; }
    const std::vector<MeasuredTarget>& Targets() const { return targets_; }

    // Told whenever the document's state may have changed outside a command:
    // after every timer and link event, the settings load of Initialise,
    // every apply-settings (mini settings bar, panel, key-in), every change
    // of bars or title (mode changes, recording start and stop). The
    // commands listen here and tell the frame what really changed. May be null.
    void SetStateObserver(CommandStateObserver* observer) { stateObserver_ = observer; }
    CommandStateObserver* StateObserver() const { return stateObserver_; }
    // For the shell's own calls that change the state outside an event (the
    // connection at start-up, a dropped playback file).
    void NotifyStateChange()
    {
        if (stateObserver_)
            stateObserver_->CommandStatesChanged();
    }

private:
    // Reads the INI file into the state (the cycle asks at every connect).
    void ReloadSettings() override;

    // The cycle's window calls, with the panel refresh running the panel's rules.
    class CycleUiAdapter final : public CycleUi {
    public:
        explicit CycleUiAdapter(CVelmarisDoc& doc)
            : doc_(doc)
        { }
        void UpdateAllViews() override
        {
            doc_.shownLink_ = ShownLink::Of(doc_.cycle_.Acquisition());
            doc_.ui_.UpdateAllViews();
        }
        void RefreshStatusLine() override { doc_.ui_.RefreshStatusLine(); }
        void RefreshDiagnostics() override { doc_.ui_.RefreshDiagnostics(); }
        void ResetDiagnostics() override { doc_.ui_.ResetDiagnostics(); }
        void SetWindowTitle(const std::string& title) override
        {
            doc_.ui_.SetWindowTitle(title);
            doc_.NotifyStateChange();
        }
        void SetControlBars(ControlBars bars) override
        {
            doc_.ui_.SetControlBars(bars);
            doc_.NotifyStateChange();
        }
        void RefreshSettingsPanel() override { doc_.operations_.RefreshSettingsPanel(); }
        void HidePlaybackProgress() override { doc_.ui_.HidePlaybackProgress(); }
        void SettingsLoaded() override { doc_.ui_.SettingsLoaded(); }

    private:
        CVelmarisDoc& doc_;
    };

    class HostAdapter final : public SettingsHost {
    public:
        explicit HostAdapter(CVelmarisDoc& doc)
            : doc_(doc)
        { }
        void RefreshMiniSettingsBar() override // every apply-settings
        {
            doc_.ui_.RefreshMiniSettingsBar();
            doc_.NotifyStateChange();
        }
        bool SettingsPanelExists() const override { return doc_.ui_.SettingsPanelExists(); }
        void RefreshSettingsPanel() override { doc_.ui_.RefreshSettingsPanel(); }
        void ClearImageRaster() override;
        void ClearImageAndHistory() override;
        bool IsLinkConnected() const override;
        void RepaintAllViews() override { doc_.ui_.RepaintAllViews(); }

    private:
        CVelmarisDoc& doc_;
    };

    // Hands each event to the cycle, then tells the state observer.
    class EventsAdapter final : public LinkEvents {
    public:
        explicit EventsAdapter(CVelmarisDoc& doc)
            : doc_(doc)
        { }
        void OnTimer(int id) override;
        void OnSerialTransfer(
            std::span<const std::uint8_t> reply, bool portOpen, std::span<const std::uint8_t> sent) override;
        void OnSerialPortLost() override;
        void OnTcpConnected(bool ok) override;
        void OnTcpBytes(std::span<const std::uint8_t> bytes) override;
        void OnTcpClosed() override;
        void OnUdpDatagram(std::span<const std::uint8_t> datagram, std::size_t trueSize) override;
        void OnUdpDropped(std::size_t count) override;

    private:
        CVelmarisDoc& doc_;
    };

    // Forwards to the shell's dialogs and bar once they are attached.
    class FileWindows final : public FileDialogs, public PlaybackBarUi {
    public:
        std::string AskSaveFile(const SaveDialogRequest& r) override
        {
            return dialogs ? dialogs->AskSaveFile(r) : "";
        }
        std::string AskOpenFile(const OpenDialogRequest& r) override
        {
            return dialogs ? dialogs->AskOpenFile(r) : "";
        }
        std::string AskFolder(const FolderDialogRequest& r) override
        {
            return dialogs ? dialogs->AskFolder(r) : "";
        }
        void ShowPlaybackBar(const PlaybackBarSetup& setup) override
        {
            if (bar)
                bar->ShowPlaybackBar(setup);
        }
        void SetPositionSlider(int position) override
        {
            if (bar)
                bar->SetPositionSlider(position);
        }
        void SetSpeed(int speed) override
        {
            if (bar)
                bar->SetSpeed(speed);
        }

        FileDialogs* dialogs = nullptr;
        PlaybackBarUi* bar = nullptr;
    };

    // The link as it stood when the cycle last asked for a picture.
    struct ShownLink {
        LinkState linkState = LinkState::Down;
        bool awaitingReply = false;
        bool blink = false;
        static ShownLink Of(const AcquisitionState& a) { return {a.linkState, a.awaitingReply, a.blink}; }
    };

    DocumentUi& ui_;
    Reporter& reporter_;
    std::unique_ptr<SonarState> state_; // 16 MB raster: kept off the caller's stack
    RecordWriter recorder_;
    DataFile playbackFile_;
    SettingsStore settingsStore_;
    CycleUiAdapter cycleUi_ {*this};
    HostAdapter host_ {*this};
    SettingsOperations operations_;
    PingCycle cycle_;
    EventsAdapter events_ {*this};
    CommandStateObserver* stateObserver_ = nullptr;
    FileWindows fileWindows_;
    Playback playback_;
    Recording recording_;
    TrackRecording track_;
    CursorPlaces places_;
    std::vector<MeasuredTarget> targets_;
    ShownLink shownLink_;
};

} // namespace velmaris
