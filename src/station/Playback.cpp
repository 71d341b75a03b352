#include "station/Playback.h"

#include "files/PlaybackDecode.h"
#include "files/SettingsLocation.h"
#include "protocol/RecordHeader.h"
#include "station/WindowTitles.h"

#include <algorithm>
#include <array>

namespace velmaris {

namespace {

// A record that starts this close to the end of the file cannot be whole:
// playback goes on from the start.
constexpr std::int64_t kEndMargin = 3;
constexpr int kFilterIndexSerial = 1;
constexpr int kFilterIndexEthernet = 2;

} // namespace

void Playback::OpenFileToPlayback()
{
    p_.cycle.Acquisition().held = false;
    Open();
}

void Playback::Open()
{
    BeginOpen();
    const std::string path = p_.dialogs.AskOpenFile(PlaybackOpenDialog(p_.state.settings.readFileDirectory));
    if (path.empty()) {
        fileDialogOpen_ = false;
        ResumeAfterAbandonedOpen();
        return;
    }
    OpenChosen(path);
}

bool Playback::OpenDroppedFile(const std::string& path)
{
    if (fileDialogOpen_ || !FileTypeFromName(path))
        return false;
    p_.cycle.Acquisition().held = false;
    BeginOpen();
    return OpenChosen(path);
}

bool Playback::OpenNamedFile(const std::string& path)
{
    if (fileDialogOpen_)
        return false;
    p_.cycle.Acquisition().held = false;
    BeginOpen();
    return OpenChosen(path);
}

void Playback::BeginOpen()
{
    fileDialogOpen_ = true;
    p_.cycle.KillAllTimers();
    if (p_.saveSettings)
        p_.saveSettings();
}

// Nothing was opened: the cycle that ran before goes on. (A stopped cycle
// would leave a serial or TCP head connected but silent, with "Connect"
// greyed because the link is up.)
void Playback::ResumeAfterAbandonedOpen()
{
    TimerHost& timers = p_.cycle.Timers();
    if (IsPlaying()) {
        if (p_.file.IsOpen())
            timers.SetTimer(kPingTimer, kPlaybackStartDelayMs);
        return;
    }
    if (p_.state.settings.udpMode != 0)
        return; // datagrams drive the plot; no timer takes part
    if (p_.state.settings.sonarType == SonarType::SerialK52A)
        timers.SetTimer(kPingTimer, kResumePingDelayMs);
    else if (p_.state.settings.sonarType == SonarType::EthernetK52L)
        timers.SetTimer(kSendTimer, 0);
}

bool Playback::OpenChosen(const std::string& path)
{
    SonarState& state = p_.state;
    const std::optional<SonarType> nameType = FileTypeFromName(path);
    if (!nameType) {
        p_.reporter.ShowMessage(kMsgUnknownFileType);
        fileDialogOpen_ = false;
        ResumeAfterAbandonedOpen();
        return false;
    }

    const bool wasRecording = p_.recorder.IsRecording();
    p_.file.Close();
    p_.recorder.Close();
    const DataFile::OpenResult opened = p_.file.Open(path);
    if (opened != DataFile::OpenResult::Ok) {
        p_.reporter.ShowMessage(OpenResultMessage(opened));
        fileDialogOpen_ = false;
        if (wasRecording)
            p_.ui.SetWindowTitle(RecordStopTitle(IsPlaying(), fileName_, state.settings.sonarType));
        ResumeAfterAbandonedOpen();
        return false;
    }

    fileLength_ = p_.file.Length();
    p_.file.Seek(0);
    position_ = 0;
    fileName_ = path;
    state.settings.readFileDirectory = FolderOf(path);

    p_.cycle.CloseHeadLinks();
    fileDialogOpen_ = false;

    std::array<std::uint8_t, 3> tag {};
    const std::size_t got = p_.file.Read(tag);
    p_.file.Seek(0);
    fileType_ = SettleFileType(*nameType, std::span(tag.data(), got));
    state.settings.openFileFilterIndex
        = fileType_ == SonarType::SerialK52A ? kFilterIndexSerial : kFilterIndexEthernet;

    state.flags.playback = true;
    ResetImage(state); // scan-line history and raster
    sliderHeld_ = false;
    fileStep_ = PlaybackFileStep(fileLength_);
    p_.ui.SetControlBars(ControlBars::Playback);
    p_.bar.ShowPlaybackBar(PlaybackBarSetup {state.settings.playbackSpeed, fileLength_, fileStep_});

    p_.ui.SetWindowTitle(PlaybackTitle(path));
    p_.cycle.CloseUdp();
    p_.ui.UpdateAllViews();
    p_.cycle.Timers().SetTimer(kPingTimer, kPlaybackStartDelayMs);
    return true;
}

void Playback::ReadNextRecord()
{
    SonarState& state = p_.state;
    const std::int64_t start = p_.file.Position();
    std::int64_t next = fileLength_;
    switch (ReadRecordFrame(p_.file, start, frame_)) {
    case RecordStatus::Ok: {
        const RecordDecodeResult result = DecodePlaybackRecord(state, frame_);
        if (result.effects.fullRedraw)
            p_.cycle.Acquisition().redraw = true;
        if (result.valid) {
            // The copy carries the source's time stamp (decoded into the
            // ping) and the source file's tag; it is written before painting
            // changes the echo line.
            if (p_.recorder.IsRecording())
                p_.recorder.Append(EncodeRecord(state.ping, state.command, state.settings, state.history.l0,
                    RecordTag(state.settings.sonarType, true, fileType_)));
            PaintCurrentPing(state);
        }
        next = frame_.NextOffset();
        break;
    }
    case RecordStatus::Damaged:
        next = p_.file.Resynchronise(start + 1, fileType_);
        break;
    case RecordStatus::End:
        break;
    }
    ++recordsRead_;
    if (next + kEndMargin >= fileLength_) {
        next = 0;
        ResetImage(state);
        state.ping.pingCount = 0;
    }
    p_.file.Seek(next);
}

void Playback::PlaybackTick()
{
    SonarState& state = p_.state;
    AcquisitionState& acq = p_.cycle.Acquisition();
    if (acq.held || !IsPlaying() || !p_.file.IsOpen())
        return;

    // Travel is summed in the head's step units (0.3 degrees) so that, for
    // instance, twelve Slow steps reach speed 12 exactly.
    const int limit = std::clamp(state.settings.playbackSpeed, kPlaybackSpeedMin, kPlaybackSpeedMax);
    if (limit == 0) {
        ReadNextRecord();
    } else {
        int travelled = 0;
        for (int n = 0; n < kMaxRecordsPerTick; ++n) {
            ReadNextRecord();
            if (acq.redraw)
                break; // the picture's geometry changed: show it now
            travelled += state.command[CommandMessage::kStep];
            if (travelled >= limit)
                break;
        }
    }
    acq.redraw = false;
    acq.replayLoop.Measure();

    if (!sliderHeld_) {
        position_ = p_.file.Position();
        p_.bar.SetPositionSlider(fileLength_ > 0 ? static_cast<int>(position_ * 100 / fileLength_) : 0);
        if (position_ + kEndMargin >= fileLength_) {
            p_.file.Seek(0);
            position_ = 0;
        }
    }

    p_.ui.UpdateAllViews();
    p_.ui.RefreshStatusLine();
    p_.ui.RefreshDiagnostics();

    const int recorded = realTimePlay_ ? state.ping.loopTimeRounded : 0;
    p_.cycle.Timers().SetTimer(kPingTimer, std::max(recorded, kPlaybackTickMinMs));
}

void Playback::SliderReleased(int position)
{
    sliderHeld_ = true;
    // The right end starts again from the beginning.
    SeekTo(SliderSeekOffset(position, kPositionSliderMin, kPositionSliderMax, fileStep_));
    sliderHeld_ = false;
}

void Playback::SeekTo(std::int64_t offset)
{
    ClearImage(p_.state.raster);
    if (!IsPlaying() || !p_.file.IsOpen())
        return;
    position_ = std::clamp<std::int64_t>(offset, 0, fileLength_);
    p_.file.Resynchronise(position_, fileType_);
}

bool Playback::StepSpeed(int delta)
{
    // Refused while the recorded timing sets the pace.
    const std::optional<int> speed = PlaybackSpeedAfterStep(
        p_.state.settings.playbackSpeed, delta, realTimePlay_, p_.state.ping.loopTimeRounded);
    if (!speed)
        return false;
    p_.state.settings.playbackSpeed = *speed;
    p_.bar.SetSpeed(*speed);
    return true;
}

bool Playback::RealTimePlayEnabled() const
{
    return IsPlaying() && p_.state.ping.loopTimeRounded > 0;
}

} // namespace velmaris
