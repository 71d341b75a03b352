#include "protocol/RecordHeader.h"

#include "protocol/PairedSettings.h"
#include "protocol/Units.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

namespace velmaris {

namespace {

// Byte offsets in the record header.
constexpr std::size_t kTag = 0;
constexpr std::size_t kDataSizeIndex = 3;
constexpr std::size_t kRecordLength = 4;
constexpr std::size_t kReplyLength = 6;
constexpr std::size_t kDate = 8;
constexpr std::size_t kOldDateMark = 19;
constexpr std::size_t kTime = 20;
constexpr std::size_t kHundredths = 29;
constexpr std::size_t kFlags = 37;
constexpr std::size_t kGain = 38;
constexpr std::size_t kSectorWidth = 39;
constexpr std::size_t kTrain = 40;
constexpr std::size_t kRange = 41;
constexpr std::size_t kAbsorption = 42;
constexpr std::size_t kParam20 = 43;
constexpr std::size_t kPulseLength = 44;
constexpr std::size_t kSoundVelocity = 46;
constexpr std::size_t kFrequency = 80;
constexpr std::size_t kLoopTime = 93;
constexpr std::size_t kRotation = 95;

constexpr std::array<int, 10> kEchoCountForSizeIndex {0, 128, 250, 500, 750, 1000, 1500, 2000, 3000, 4000};
constexpr std::array<std::uint8_t, 3> kParam20Values {4, 8, 16};
constexpr std::uint16_t kValueFlag = 0x8000;

using Header = std::span<const std::uint8_t, kRecordHeaderSize>;

int ReadU16(Header h, std::size_t offset)
{
    return (h[offset] << 8) | h[offset + 1];
}

void WriteU16(std::vector<std::uint8_t>& out, std::size_t offset, int value)
{
    const auto v = static_cast<std::uint16_t>(std::clamp(value, 0, 0xFFFF));
    out[offset] = static_cast<std::uint8_t>(v >> 8);
    out[offset + 1] = static_cast<std::uint8_t>(v & 0xFF);
}

// A text of at most `maxLength` characters starting at `offset`, ending at the
// first zero byte or at the end of the header.
std::string ReadText(Header h, std::size_t offset, std::size_t maxLength)
{
    std::string text;
    for (std::size_t i = offset; i < h.size() && text.size() < maxLength && h[i] != 0; ++i)
        text.push_back(static_cast<char>(h[i]));
    return text;
}

// Value of the leading decimal number of a few text bytes (blanks, sign and
// digits, as a C run-time would read it); 0 when there is none.
int DecimalValue(Header h, std::size_t offset, std::size_t count)
{
    std::size_t i = offset;
    const std::size_t end = offset + count;
    while (i < end && (h[i] == ' ' || h[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < end && (h[i] == '+' || h[i] == '-'))
        negative = h[i++] == '-';
    int value = 0;
    for (; i < end && h[i] >= '0' && h[i] <= '9'; ++i)
        value = value * 10 + (h[i] - '0');
    return negative ? -value : value;
}

std::string DecodeDate(Header h)
{
    if (h[kOldDateMark] == 0)
        return ReadText(h, kDate, 11);
    // Older layout: the year's two halves sit in bytes 15..16 and 17..19.
    const int year = 100 * DecimalValue(h, 15, 2) + DecimalValue(h, 17, 3);
    char yearText[16];
    std::snprintf(yearText, sizeof yearText, "%04d", year);
    return ReadText(h, kDate, 7) + yearText;
}

// Saved copies of sector width and train for a mode; SideScan keeps no width.
std::uint8_t* SavedWidth(SonarSettings& s)
{
    if (s.sectorMode == DisplayMode::Sector)
        return &s.sectorWidthSector;
    if (s.sectorMode == DisplayMode::Polar)
        return &s.sectorWidthPolar;
    return nullptr;
}

std::uint8_t& SavedTrain(SonarSettings& s)
{
    if (s.sectorMode == DisplayMode::Sector)
        return s.trainSector;
    if (s.sectorMode == DisplayMode::Polar)
        return s.trainPolar;
    return s.trainSS;
}

// Truncates a real to a 15-bit field; NaN and negatives give 0.
int Field15(double value)
{
    if (!(value >= 0.0))
        return 0;
    if (value >= 32767.0)
        return 32767;
    return static_cast<int>(value);
}

std::uint8_t Param20Code(std::uint8_t value)
{
    for (std::size_t code = 0; code < kParam20Values.size(); ++code) {
        if (kParam20Values[code] == value)
            return static_cast<std::uint8_t>(code);
    }
    return 0;
}

void WriteText(std::vector<std::uint8_t>& out, std::size_t offset, std::string_view text, std::size_t width)
{
    const std::size_t n = std::min(text.size(), width);
    std::copy_n(text.begin(), n, out.begin() + static_cast<std::ptrdiff_t>(offset));
    // The remaining bytes and the terminator stay 0.
}

} // namespace

std::uint8_t StepCodeForCommandStep(std::uint8_t commandStep)
{
    switch (commandStep) {
    case kStepSlow:
        return 0;
    case kStepMedium:
        return 1;
    case kStepFast:
        return 2;
    case kStepFaster:
        return 3;
    case kStepFastest:
        return 4;
    case 6:
        return 5;
    default:
        return 0;
    }
}

std::uint8_t CommandStepForStepCode(int code)
{
    return static_cast<std::uint8_t>(StepCodeSent((code & 7) + 1));
}

RecordHeaderEffects DecodeRecordHeader(
    Header h, PingRecord& ping, CommandMessage& command, SonarSettings& settings)
{
    RecordHeaderEffects effects;

    if (h[kDataSizeIndex] < kEchoCountForSizeIndex.size())
        ping.echoCount = kEchoCountForSizeIndex[h[kDataSizeIndex]];
    ping.recordLength = ReadU16(h, kRecordLength);
    ping.replyLength = ReadU16(h, kReplyLength);
    ping.date = DecodeDate(h);
    ping.time = ReadText(h, kTime, 19);
    ping.hundredths = h[kHundredths] == 0 ? std::string(".00") : ReadText(h, kHundredths, 9);

    const std::uint8_t flags = h[kFlags];
    ping.previousDirectionFlag = ping.directionFlag;
    ping.directionFlag = (flags >> 7) & 1;
    settings.sonarUpDown = (flags >> 6) & 1;
    const DisplayMode mode = DisplayModeForCode((flags >> 3) & 7).value_or(DisplayMode::Sector);
    if (mode != settings.sectorMode) {
        effects.clearRaster = true;
        effects.fullRedraw = true;
    }
    settings.sectorMode = mode;
    command[CommandMessage::kStep] = CommandStepForStepCode(flags & 7);

    WriteGain(settings, command, h[kGain]);

    const std::uint8_t width = h[kSectorWidth];
    std::uint8_t* savedWidth = SavedWidth(settings);
    if (width != (savedWidth ? *savedWidth : command[CommandMessage::kSectorWidth]))
        effects.fullRedraw = true;
    command[CommandMessage::kSectorWidth] = width;
    if (savedWidth)
        *savedWidth = width;

    const std::uint8_t train = h[kTrain];
    std::uint8_t& savedTrain = SavedTrain(settings);
    if (train != savedTrain)
        effects.fullRedraw = true;
    command[CommandMessage::kTrain] = train;
    savedTrain = train;
    settings.trainAngleDegrees = DegreesForCode(train);

    WriteAbsorption(settings, command, h[kAbsorption]);

    const int param20Code = (h[kParam20] >> 3) & 7;
    if (param20Code < static_cast<int>(kParam20Values.size()))
        command[CommandMessage::kParam20] = kParam20Values[param20Code];

    WritePulseLength(settings, command, h[kPulseLength]);

    const int soundVelocity = ReadU16(h, kSoundVelocity);
    if (soundVelocity & kValueFlag) {
        const double metresPerSecond = (soundVelocity & 0x7FFF) / 10.0;
        if (metresPerSecond >= 750.0 && metresPerSecond <= 2250.0)
            settings.speedOfSound = metresPerSecond;
    } else {
        settings.speedOfSound = 1500.0;
    }

    // The byte keeps the low 8 bits.
    const int frequencyCode = FrequencyCodeForKhz(ReadU16(h, kFrequency));
    WriteFrequency(settings, command, static_cast<std::uint8_t>(frequencyCode & 0xFF));

    ping.loopTimeRounded = ReadU16(h, kLoopTime);
    ping.loopTime = ping.loopTimeRounded;

    const int rotation = ReadU16(h, kRotation);
    settings.rotateImage = (rotation & kValueFlag) ? (rotation & 0x7FFF) / 10.0 - 180.0 : 0.0;

    command[CommandMessage::kReserved22] = 0;
    return effects;
}

std::string_view RecordTag(SonarType sonarType, bool playback, SonarType playbackFileType)
{
    const bool serial = (sonarType == SonarType::SerialK52A && !playback) || (playback && playbackFileType == SonarType::SerialK52A);
    return serial ? "52A" : "52L";
}

std::vector<std::uint8_t> EncodeRecord(const PingRecord& ping, const CommandMessage& command,
    const SonarSettings& settings, std::span<const std::uint8_t> echo, std::string_view tag)
{
    std::uint8_t sizeIndex = 0;
    int recordLength = kRecordLengthIGX;
    std::size_t echoBytes = 500;
    if (ping.replyKind == "IMX") {
        sizeIndex = 3;
        recordLength = kRecordLengthIMX;
        echoBytes = 252;
    } else if (ping.replyKind == "IGX") {
        sizeIndex = 3;
    } else if (ping.replyKind == "IPX") {
        sizeIndex = 1;
        recordLength = kRecordLengthIPX;
        echoBytes = 0;
    }

    std::vector<std::uint8_t> out(static_cast<std::size_t>(recordLength), 0);
    WriteText(out, kTag, tag, 3);
    out[kDataSizeIndex] = sizeIndex;
    WriteU16(out, kRecordLength, recordLength);
    WriteU16(out, kReplyLength, ping.replyLength);
    WriteText(out, kDate, ping.date, 11);
    WriteText(out, kTime, ping.time, 8);
    WriteText(out, kHundredths, ping.hundredths, 3);

    const int mode = CodeOf(settings.sectorMode);
    out[kFlags]
        = static_cast<std::uint8_t>(((ping.directionFlag & 1) << 7) | ((settings.sonarUpDown == 1) << 6)
            | (mode << 3) | StepCodeForCommandStep(command[CommandMessage::kStep]));
    out[kGain] = command[CommandMessage::kGain];
    out[kSectorWidth] = command[CommandMessage::kSectorWidth];
    out[kTrain] = static_cast<std::uint8_t>(CodeForDegrees(std::clamp(settings.trainAngleDegrees, 0, 360)));
    out[kRange] = command[CommandMessage::kRange];
    out[kAbsorption] = command[CommandMessage::kAbsorption];
    out[kParam20] = static_cast<std::uint8_t>(Param20Code(command[CommandMessage::kParam20]) << 3);
    out[kPulseLength] = command[CommandMessage::kPulseLength];
    WriteU16(out, kSoundVelocity, kValueFlag | Field15(settings.speedOfSound * 10.0));
    WriteU16(out, kFrequency, FrequencyKhzForCode(command[CommandMessage::kFrequency]));
    WriteU16(out, kLoopTime, ping.loopTimeRounded);
    WriteU16(out, kRotation, kValueFlag | Field15((settings.rotateImage + 180.0) * 10.0));

    std::copy(ping.replyHeader.begin(), ping.replyHeader.end(), out.begin() + kRecordHeaderSize);
    const std::size_t echoCopied = std::min(echoBytes, echo.size());
    std::copy_n(echo.begin(), echoCopied, out.begin() + kRecordPrefixSize);
    out[kRecordPrefixSize + echoBytes] = kRecordPaddingMark;
    return out;
}

} // namespace velmaris
