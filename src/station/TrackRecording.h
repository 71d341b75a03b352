#pragma once
// The track beside each recording ("<data file>.nmea"): while live pings
// are recorded, every sentence the GPS input receives is written with the
// host's time stamp; while a playback is copied, the part of the source's
// track around each copied ping goes into the copy's track. No GPS input
// and no source track: no track file at all.
//
// The track file is created with its first line and closed when recording
// stops. A track that cannot be created or written stops with one message
// (TrackWriteFailedMessage); the recording goes on.
//
// Ownership: listens to the record writer (detached on destruction) and
// reads the playback and the current ping; the document owns all of them
// and the reporter, which outlive this. Thread: user-interface thread only
// (the writer's own thread is internal to TrackWriter).

#include "files/RecordWriter.h"
#include "files/Reporter.h"
#include "files/TrackFile.h"
#include "files/TrackWriter.h"
#include "protocol/PingRecord.h"
#include "protocol/TimeStamp.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmaris {

class Playback;

class TrackRecording final : private RecordListener {
public:
    TrackRecording(
        RecordWriter& recorder, const Playback& playback, const PingRecord& ping, Reporter& reporter);
    ~TrackRecording() override;
    TrackRecording(const TrackRecording&) = delete;
    TrackRecording& operator=(const TrackRecording&) = delete;

    // One sentence from the GPS input, as received. Written only while live
    // pings are recorded.
    void OnSentence(std::string_view sentence);

    const TrackWriter& Writer() const { return writer_; }
    TrackWriter& Writer() { return writer_; }
    // The clock of the stamps (tests give a fixed one).
    void SetClock(LocalTime (*clock)(int& utcOffsetMinutes)) { clock_ = clock; }

private:
    void RecordOpened(const std::string& path) override;
    void RecordAppended() override;
    void RecordClosed() override;
    // Opens the track with its first line; false once it failed for this recording.
    bool EnsureOpen();

    RecordWriter& recorder_;
    const Playback& playback_;
    const PingRecord& ping_;
    Reporter& reporter_;
    TrackWriter writer_;
    std::string dataPath_; // the recording's data file; "" while not recording
    bool copy_ = false; // the recording is a copy of a playback
    bool stopped_ = false; // the track failed: nothing more for this recording
    std::unique_ptr<TrackSpan> source_; // a copy's source track, when there is one
    std::vector<std::string_view> lines_; // reused for each copied ping
    LocalTime (*clock_)(int&) = &CurrentLocalTime;
};

} // namespace velmaris
