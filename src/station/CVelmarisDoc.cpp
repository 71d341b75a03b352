#include "station/CVelmarisDoc.h"

#include "image/ScanLinePainter.h"

namespace velmaris {

CVelmarisDoc::CVelmarisDoc(DocumentUi& ui, CycleLinks links, Reporter& reporter, const Clock& clock)
    : ui_(ui)
    , reporter_(reporter)
    , state_(std::make_unique<SonarState>())
    , recorder_(reporter)
    , settingsStore_(reporter)
    , operations_(state_->settings, state_->command, state_->flags, host_)
    , cycle_(*state_, links, clock, reporter, cycleUi_, recorder_, playbackFile_)
    , playback_(PlaybackParts {*state_, cycle_, recorder_, playbackFile_, reporter, cycleUi_, fileWindows_,
          fileWindows_, [this] { return SaveSettings(); }})
    , recording_(RecordingParts {*state_, recorder_, playback_, reporter, cycleUi_, fileWindows_})
    , track_(recorder_, playback_, state_->ping, reporter)
{
    cycle_.SetPlaybackTicker(&playback_);
    cycle_.SetSettingsReloader(this);
}

void CVelmarisDoc::SetFileWindows(FileDialogs* dialogs, PlaybackBarUi* bar)
{
    fileWindows_.dialogs = dialogs;
    fileWindows_.bar = bar;
}

CVelmarisDoc::~CVelmarisDoc() = default;

void CVelmarisDoc::Initialise(const DocumentSetup& setup)
{
    settingsStore_.SetPath(setup.iniPath);
    state_->settings.readFileDirectory = setup.dataFolder;
    state_->settings.writeFileDirectory = setup.dataFolder;
    cycle_.Configure(CycleConfig {setup.headTcpPort, setup.udpPort});
    recorder_.Close();
    ui_.CreateFloatingWindows();
    state_->settings.udpMode = 0;
    // Without the operator's settings no default port or address is
    // contacted until the operator chooses the head's (ReloadSettings).
    cycle_.SetHeadChosen(false);
    ReloadSettings();
    ui_.SettingsLoaded();
    ClearImage(state_->raster);
    NotifyStateChange();
}

void CVelmarisDoc::ReloadSettings()
{
    const IniRead read = settingsStore_.Load(
        state_->settings, state_->command, state_->ping, SettingsFileContext {state_->flags.playback});
    // A port or address in the file is the operator's choice of the head.
    if (read == IniRead::Read && settingsStore_.HeadKeysFound())
        cycle_.SetHeadChosen(true);
}

bool CVelmarisDoc::SaveSettings()
{
    // The defaults are saved, but not as the head's port and address.
    settingsStore_.WithholdHeadKeys(!cycle_.HeadChosen());
    return settingsStore_.Save(
        state_->settings, state_->command, SettingsFileContext {state_->flags.playback});
}

bool CVelmarisDoc::Close()
{
    const bool saved = SaveSettings();
    cycle_.Shutdown();
    return saved;
}

ViewStatus CVelmarisDoc::Status() const
{
    ViewStatus status;
    const SonarState& state = *state_;
    status.linkState = shownLink_.linkState;
    status.awaitingReply = shownLink_.awaitingReply;
    status.blinkToggle = shownLink_.blink;
    status.held = cycle_.Acquisition().held;
    status.playback = state.flags.playback;
    status.recording = IsRecording();
    status.outputFileLength = recorder_.Length();
    status.pingCount = state.ping.pingCount;
    status.sonarComPort = state.settings.sonarComPort;
    status.headAddress = state.settings.ipAddress;
    status.sonarType = state.settings.sonarType;
    status.udpMode = state.settings.udpMode != 0;
    return status;
}

void CVelmarisDoc::HostAdapter::ClearImageRaster()
{
    ClearImage(doc_.state_->raster);
}

void CVelmarisDoc::HostAdapter::ClearImageAndHistory()
{
    ResetImage(*doc_.state_);
}

bool CVelmarisDoc::HostAdapter::IsLinkConnected() const
{
    return doc_.cycle_.Acquisition().linkState == LinkState::Up;
}

void CVelmarisDoc::EventsAdapter::OnTimer(int id)
{
    doc_.cycle_.OnTimer(id);
    doc_.recorder_.Poll(); // a record file found gone stops between pings too
    doc_.NotifyStateChange();
}

void CVelmarisDoc::EventsAdapter::OnSerialTransfer(
    std::span<const std::uint8_t> reply, bool portOpen, std::span<const std::uint8_t> sent)
{
    doc_.cycle_.OnSerialTransfer(reply, portOpen, sent);
    doc_.NotifyStateChange();
}

void CVelmarisDoc::EventsAdapter::OnTcpConnected(bool ok)
{
    doc_.cycle_.OnTcpConnected(ok);
    doc_.NotifyStateChange();
}

void CVelmarisDoc::EventsAdapter::OnTcpBytes(std::span<const std::uint8_t> bytes)
{
    doc_.cycle_.OnTcpBytes(bytes);
    doc_.NotifyStateChange();
}

void CVelmarisDoc::EventsAdapter::OnSerialPortLost()
{
    doc_.cycle_.OnSerialPortLost();
    doc_.NotifyStateChange();
}

void CVelmarisDoc::EventsAdapter::OnTcpClosed()
{
    doc_.cycle_.OnTcpClosed();
    doc_.NotifyStateChange();
}

void CVelmarisDoc::EventsAdapter::OnUdpDatagram(std::span<const std::uint8_t> datagram, std::size_t trueSize)
{
    doc_.cycle_.OnUdpDatagram(datagram, trueSize);
    doc_.NotifyStateChange();
}

void CVelmarisDoc::EventsAdapter::OnUdpDropped(std::size_t count)
{
    doc_.cycle_.OnUdpDropped(count); // for the diagnostics window's "Dropped" line
}

} // namespace velmaris
