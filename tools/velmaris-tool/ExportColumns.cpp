#include "ExportColumns.h"

#include "controls/ControlTexts.h"
#include "files/TrackFile.h"
#include "protocol/Units.h"

#include <algorithm>
#include <string>

namespace velmaris::tool {

namespace {

constexpr double kNominalSoundVelocity = 1500.0;

std::string_view TagText(const RecordFrame& frame)
{
    std::size_t n = 0;
    while (n < 3 && frame.header[n] != 0)
        ++n;
    return {reinterpret_cast<const char*>(frame.header.data()), n};
}

} // namespace

void ExportHeader(CsvLine& line, bool samples, bool positions)
{
    for (const char* name : {"index", "date", "time", "hundredths", "tag", "mode", "range (m)", "gain (dB)",
             "head angle (degrees)", "step", "train (degrees)", "sector width (degrees)",
             "sound velocity (m/s)", "profile range (m)"})
        line.Field(name);
    if (positions)
        line.Field("latitude").Field("longitude").Field("heading (degrees)");
    if (samples)
        for (int i = 1; i <= kExportSampleColumns; ++i)
            line.Field("sample " + std::to_string(i));
    line.EndRow();
}

double ProfileRangeMetres(const PingRecord& ping, const SonarSettings& settings)
{
    return ping.profileHistory.back().value * settings.speedOfSound / kNominalSoundVelocity / 100.0;
}

PingNavigation NavigationOfPing(const ExportNavigation* navigation, const PingRecord& ping)
{
    if (navigation == nullptr || navigation->track == nullptr)
        return {};
    const auto seconds = PingStampSeconds(ping.date, ping.time, ping.hundredths);
    return seconds ? navigation->track->At(*seconds, navigation->offsets) : PingNavigation();
}

void ExportRow(CsvLine& line, std::int64_t index, const RecordFrame& frame, const ToolDocument& doc,
    bool samples, const ExportNavigation* navigation)
{
    const PingRecord& p = doc.ping;
    const CommandMessage& c = doc.command;
    const SonarSettings& s = doc.settings;
    line.Number(index)
        .Field(p.date)
        .Field(p.time)
        .Field(p.hundredths)
        .Field(TagText(frame))
        .Field(ModeText(s.sectorMode))
        .Number(p.replyRange)
        .Number(c[CommandMessage::kGain])
        .Real(p.headAngle)
        .Field(SpeedText(c[CommandMessage::kStep]))
        .Number(s.trainAngleDegrees)
        .Number(DegreesForCode(c[CommandMessage::kSectorWidth]))
        .Real(s.speedOfSound)
        .Fixed(ProfileRangeMetres(p, s), 3);
    if (navigation != nullptr) {
        const PingNavigation nav = NavigationOfPing(navigation, p);
        if (nav.hasPosition)
            line.Fixed(nav.head.latitude, 7).Fixed(nav.head.longitude, 7);
        else
            line.Blank().Blank();
        if (nav.HasHeading())
            line.Fixed(nav.heading, 1);
        else
            line.Blank();
    }
    if (samples) {
        const int count
            = std::clamp(std::min(p.echoCount, static_cast<int>(frame.bodySize)), 0, kExportSampleColumns);
        for (int i = 0; i < count; ++i)
            line.Number(frame.body[std::size_t(i)]);
        for (int i = count; i < kExportSampleColumns; ++i)
            line.Blank();
    }
    line.EndRow();
}

bool ExportRecords(DataFile& file, SonarType fileType, ToolDocument& doc, std::FILE* out, bool samples,
    const ExportNavigation* navigation, std::int64_t& rows,
    const std::function<void(std::int64_t offset, const RecordFrame& frame)>& onDamage)
{
    constexpr std::size_t kFlushAt = 256 * 1024;
    CsvLine line;
    bool written = true;
    auto flush = [&] {
        const std::string& text = line.Text();
        written = written && std::fwrite(text.data(), 1, text.size(), out) == text.size();
        line.Clear();
    };
    rows = 0;
    WalkRecords(
        file, fileType,
        [&](const RecordFrame& frame) {
            ++rows;
            if (!doc.Decode(frame).valid)
                return;
            ExportRow(line, rows, frame, doc, samples, navigation);
            if (line.Text().size() >= kFlushAt)
                flush();
        },
        [&](std::int64_t offset, const RecordFrame& frame) {
            if (onDamage)
                onDamage(offset, frame);
        });
    flush();
    return written;
}

} // namespace velmaris::tool
