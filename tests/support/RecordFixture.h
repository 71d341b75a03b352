#pragma once
// Builds data-file records for tests through the station's own encoder.

#include "image/ScanLineHistory.h"
#include "protocol/CommandMessage.h"
#include "protocol/PingRecord.h"
#include "protocol/RecordHeader.h"
#include "protocol/SonarSettings.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

namespace velmaris::testing {

// A whole file as text or as bytes; empty when it cannot be read.
inline std::string ReadFileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
inline std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    const std::string text = ReadFileText(path);
    return {text.begin(), text.end()};
}

struct PingSpec {
    std::string kind = "IGX";
    int headPosition = 600; // straight ahead
    int range = 30;
    DisplayMode mode = DisplayMode::Polar;
    int step = kStepFast;
    int width = 120;
    int train = 60;
    std::uint8_t echo = 80; // every echo byte
    std::string time = "14:30:05";
    int loopTime = 85; // ms since the ping before (record header bytes 93..94)
};

inline std::vector<std::uint8_t> MakeRecord(const PingSpec& want, std::string_view tag = "52A")
{
    PingRecord ping;
    ping.replyKind = want.kind;
    ping.replyLength = want.kind == "IMX" ? 265 : want.kind == "IPX" ? 13 : 513;
    ping.replyHeader = {static_cast<std::uint8_t>(want.kind[0]), static_cast<std::uint8_t>(want.kind[1]),
        static_cast<std::uint8_t>(want.kind[2]), 0x10, 0x01,
        static_cast<std::uint8_t>(want.headPosition & 0x7F),
        static_cast<std::uint8_t>((want.headPosition >> 7) & 0x3F), static_cast<std::uint8_t>(want.range),
        0x10, 0x02, static_cast<std::uint8_t>((want.kind == "IMX" ? 250 : 500) & 0x7F),
        static_cast<std::uint8_t>((want.kind == "IMX" ? 250 : 500) >> 7)};
    ping.date = "07-DEC-2026";
    ping.time = want.time;
    ping.hundredths = ".25";
    ping.loopTimeRounded = want.loopTime;
    CommandMessage command;
    SonarSettings settings;
    InitialiseCommandMessage(command, settings);
    command[CommandMessage::kRange] = static_cast<std::uint8_t>(want.range);
    command[CommandMessage::kStep] = static_cast<std::uint8_t>(want.step);
    command[CommandMessage::kSectorWidth] = static_cast<std::uint8_t>(want.width);
    command[CommandMessage::kTrain] = static_cast<std::uint8_t>(want.train);
    settings.sectorMode = want.mode;
    settings.trainAngleDegrees = TrainAngleDegreesFor(want.train, 0);
    ScanLine echo {};
    echo.fill(want.echo);
    return EncodeRecord(ping, command, settings, echo, tag);
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void Append(std::vector<std::uint8_t>& file, const std::vector<std::uint8_t>& record)
{
    file.insert(file.end(), record.begin(), record.end());
}

// A fresh folder under the temporary directory, removed with the object.
class TempFolder {
public:
    explicit TempFolder(const std::string& name)
        : path_(
            std::filesystem::temp_directory_path() / ("velmaris-" + name + "-" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

} // namespace velmaris::testing
