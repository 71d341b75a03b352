#include "station/TrackRecording.h"

#include "station/Playback.h"

namespace velmaris {

TrackRecording::TrackRecording(
    RecordWriter& recorder, const Playback& playback, const PingRecord& ping, Reporter& reporter)
    : recorder_(recorder)
    , playback_(playback)
    , ping_(ping)
    , reporter_(reporter)
    , writer_(reporter)
{
    recorder_.SetRecordListener(this);
    writer_.SetStopListener([this] { stopped_ = true; });
}

TrackRecording::~TrackRecording()
{
    recorder_.SetRecordListener(nullptr);
}

void TrackRecording::OnSentence(std::string_view sentence)
{
    writer_.Poll();
    if (dataPath_.empty() || copy_ || !EnsureOpen())
        return;
    int offset = 0;
    const LocalTime now = clock_(offset);
    writer_.AppendLine(TrackLine(now, offset, sentence));
}

bool TrackRecording::EnsureOpen()
{
    if (writer_.IsOpen())
        return true;
    if (stopped_)
        return false;
    const std::string path = TrackPathFor(dataPath_);
    if (!writer_.Open(path)) {
        stopped_ = true;
        reporter_.ShowMessage(TrackWriteFailedMessage(path, writer_.LastError()));
        return false;
    }
    return true;
}

void TrackRecording::RecordOpened(const std::string& path)
{
    writer_.Close();
    dataPath_ = path;
    stopped_ = false;
    copy_ = playback_.IsPlaying();
    source_.reset();
    if (!copy_)
        return;
    std::string text;
    std::string error;
    // A source without a track gives a copy without one.
    if (ReadTrackText(TrackPathFor(playback_.FileName()), text, error)) {
        source_ = std::make_unique<TrackSpan>(std::move(text));
        if (source_->Empty())
            source_.reset();
    }
}

void TrackRecording::RecordAppended()
{
    writer_.Poll();
    if (!copy_ || !source_)
        return;
    const auto seconds = PingStampSeconds(ping_.date, ping_.time, ping_.hundredths);
    if (!seconds)
        return;
    lines_.clear();
    source_->LinesFor(*seconds, lines_);
    if (lines_.empty() || !EnsureOpen())
        return;
    for (const std::string_view line : lines_)
        writer_.AppendLine(std::string(line));
}

void TrackRecording::RecordClosed()
{
    writer_.Close();
    dataPath_.clear();
    copy_ = false;
    source_.reset();
}

} // namespace velmaris
