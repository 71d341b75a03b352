#pragma once
// Playback of a data file through the same decoding and painting path as
// live pings: opening a file (with its dialog, type recognition and
// messages), the playback tick run by the ping timer, the position slider,
// the speed spin and "RealTime Play Speed". While a record file is open the
// played records are copied into it with the source's time stamps and tag.
//
// Each tick reads records until the head has travelled `Playback Speed` x
// 0.3 degrees (exactly one record at speed 0), or until a record changed the
// picture's geometry; at the end of the file playback goes on from offset 0
// with a cleared image and never stops by itself.
//
// Ownership: holds references only; the document owns the parts and
// outlives the playback. Thread: user-interface thread only. Failure:
// operator messages go through the Reporter; a damaged record is skipped by
// re-synchronising on the next record tag.

#include "files/DataFile.h"
#include "files/RecordReader.h"
#include "files/RecordWriter.h"
#include "files/Reporter.h"
#include "image/SonarState.h"
#include "station/CycleUi.h"
#include "station/FileDialogs.h"
#include "station/PingCycle.h"
#include "station/PlaybackBarUi.h"

#include <cstdint>
#include <functional>
#include <string>

namespace velmaris {

inline constexpr int kPlaybackStartDelayMs = 50;
// No playback tick follows sooner than this after the one before: the
// window timer the speeds were chosen on never fired sooner than 10 ms after
// it was set, so speed 0 (a record a tick) plays about 100 records a second
// and each step of the speed spin adds to that.
inline constexpr int kPlaybackTickMinMs = 10;
// At most this many records in one tick, whatever the steps read: a file of
// damaged records or a step of 0 cannot hold the user-interface thread.
inline constexpr int kMaxRecordsPerTick = 256;

struct PlaybackParts {
    SonarState& state;
    PingCycle& cycle; // timers, held flag, replay loop time, link closing
    RecordWriter& recorder; // the copy goes here while it is open
    DataFile& file; // the playback file
    Reporter& reporter;
    CycleUi& ui;
    FileDialogs& dialogs;
    PlaybackBarUi& bar;
    std::function<bool()> saveSettings; // writes the INI file
};

class Playback final : public PlaybackTicker {
public:
    explicit Playback(PlaybackParts parts)
        : p_(std::move(parts))
    { }

    // "&Open File to Playback": clears the hold flag, then Open().
    void OpenFileToPlayback();
    // Stops the link timers, saves the settings and asks for a file. Cancel
    // (or a file that cannot be played) resumes what was running; otherwise
    // the links close and the file plays from its start.
    void Open();
    // A file dropped on the main window: a ".52a"/".52l" name starts its
    // playback as if chosen in the dialog (hold cleared); any other name,
    // or a drop while the dialog shows, is ignored. True when it plays.
    bool OpenDroppedFile(const std::string& path);
    // A file named on the command line: opened as if chosen in the dialog
    // (hold cleared), with the dialog's checks and messages for a name
    // that is not a data file or a file that cannot be read. True when it plays.
    bool OpenNamedFile(const std::string& path);

    // PlaybackTicker: one tick; re-arms the ping timer (kPlaybackTickMinMs,
    // or the record's loop time with real-time play, never sooner). Nothing
    // while held.
    void PlaybackTick() override;

    // Position slider: held from the operator's press to the release (the
    // tick then leaves it alone); on release at `position` the playback
    // re-synchronises at file step x position, the right end meaning the
    // start.
    void SetSliderHeld(bool held) { sliderHeld_ = held; }
    void SliderReleased(int position);
    // Clears the image and re-synchronises at `offset`; nothing more when no
    // playback runs.
    void SeekTo(std::int64_t offset);

    // Speed spin: `Playback Speed` + delta within 0..12, shown on the bar.
    // Refused (false) while real-time play follows a known loop time.
    bool StepSpeed(int delta);
    // "RealTime Play Speed".
    void ToggleRealTimePlay() { realTimePlay_ = !realTimePlay_; }
    bool RealTimePlayEnabled() const;

    bool IsPlaying() const { return p_.state.flags.playback; }
    const std::string& FileName() const { return fileName_; }
    SonarType FileType() const { return fileType_; }
    std::int64_t FileLength() const { return fileLength_; }
    std::int64_t FileStep() const { return fileStep_; }
    std::int64_t Position() const { return position_; }
    bool FileDialogOpen() const { return fileDialogOpen_; }
    bool SliderHeld() const { return sliderHeld_; }
    bool RealTimePlay() const { return realTimePlay_; }
    // Records read since construction (damaged ones included).
    std::uint64_t RecordsRead() const { return recordsRead_; }

private:
    void BeginOpen();
    bool OpenChosen(const std::string& path);
    void ResumeAfterAbandonedOpen();
    void ReadNextRecord();

    PlaybackParts p_;
    RecordFrame frame_;
    std::string fileName_;
    SonarType fileType_ = SonarType::SerialK52A;
    std::int64_t fileLength_ = 0;
    std::int64_t fileStep_ = 0;
    std::int64_t position_ = 0;
    bool fileDialogOpen_ = false;
    bool sliderHeld_ = false;
    bool realTimePlay_ = false;
    std::uint64_t recordsRead_ = 0;
};

} // namespace velmaris
