// velmaris-tool dump FILE [--ini INI]: one JSON object per record, walking the
// file from offset 0 the way playback reads it, stopping at the end.

#include "JsonLine.h"
#include "Subcommand.h"
#include "ToolDocument.h"

#include "files/DataFile.h"
#include "files/RecordDecode.h"
#include "files/RecordReader.h"

#include <cstdio>
#include <string_view>

namespace velmaris::tool {
namespace {

std::string_view Text(const std::uint8_t* bytes, std::size_t max)
{
    std::size_t n = 0;
    while (n < max && bytes[n] != 0)
        ++n;
    return {reinterpret_cast<const char*>(bytes), n};
}

std::string RecordLine(const RecordFrame& frame, const RecordDecodeResult& decoded, const ToolDocument& doc)
{
    const PingRecord& p = doc.ping;
    const CommandMessage& c = doc.command;
    JsonLine line;
    line.Int("offset", frame.offset)
        .Text("tag", Text(frame.header.data(), 3))
        .Int("record_length", frame.recordLength)
        .Int("reply_length", p.replyLength)
        .Text("date", p.date)
        .Text("time", p.time)
        .Text("hundredths", p.hundredths)
        .Bool("valid", decoded.valid);
    if (!decoded.valid)
        return line.Finish();
    line.Text("kind", p.replyKind)
        .Int("echo_count", p.echoCount)
        .Int("head_id", p.headId)
        .Int("status", p.statusByte)
        .Int("direction", p.directionFlag)
        .Int("head_position", p.headPosition)
        .Real("head_angle", p.headAngle)
        .Int("range", p.replyRange)
        .Int("profile", p.profileValue)
        .Int("data_count", p.dataCount)
        .Int("mode", CodeOf(doc.settings.sectorMode))
        .Int("up_down", doc.settings.sonarUpDown)
        .Int("step", c[CommandMessage::kStep])
        .Int("gain", c[CommandMessage::kGain])
        .Int("sector_width", c[CommandMessage::kSectorWidth])
        .Int("train", c[CommandMessage::kTrain])
        .Int("absorption", c[CommandMessage::kAbsorption])
        .Int("pulse_length", c[CommandMessage::kPulseLength])
        .Int("frequency_code", c[CommandMessage::kFrequency])
        .Int("param20", c[CommandMessage::kParam20])
        .Real("sound_velocity", doc.settings.speedOfSound)
        .Int("loop_time", p.loopTimeRounded)
        .Real("rotate", doc.settings.rotateImage);
    return line.Finish();
}

} // namespace

int Run(const DumpRequest& request)
{
    ToolDocument doc;
    DataFile file;
    SonarType fileType = SonarType::SerialK52A;
    if (!doc.Open(request.ini, request.file, file, fileType))
        return kExitFailure;

    WalkRecords(
        file, fileType,
        [&](const RecordFrame& frame) {
            const RecordDecodeResult decoded = doc.Decode(frame);
            std::printf("%s\n", RecordLine(frame, decoded, doc).c_str());
        },
        [](std::int64_t offset, const RecordFrame& frame) { ReportDamage("dump", offset, frame); });
    return kExitOk;
}

} // namespace velmaris::tool
