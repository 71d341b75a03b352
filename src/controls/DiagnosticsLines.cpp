#include "controls/DiagnosticsLines.h"

#include "image/SonarState.h"
#include "protocol/Units.h"
#include "station/AcquisitionState.h"

#include <charconv>

namespace velmaris {

namespace {

constexpr const char* kPrefix = ":   ";
constexpr int kPrfEveryRefreshes = 10; // the PRF line changes when the counter is above this

constexpr std::array<const char*, kDiagLineCount> kLabels {"Header", "HeadID", "Status", "Range", "Gain",
    "Mode", "SectorSize", "TrainAngle", "Speed", "HeadPos", "DataBytes", "Freqency", "Absorption",
    "Pulse Len", "SwitchDelay", "SoundV", "COM Port", "IP Adress", "RealTime PRF", "Loop Time"};

// Locale-free fixed-point text ("0.20", "1500.0").
template <typename T>
std::string Fixed(T value, int decimals)
{
    char buffer[64];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("?");
}

std::string Prefixed(const std::string& text)
{
    return kPrefix + text;
}

std::string Number(int value)
{
    return std::to_string(value);
}

std::string Hex(int value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    return std::string(buffer, result.ptr);
}

std::string ModeText(DisplayMode mode)
{
    switch (mode) {
    case DisplayMode::Sector:
        return "Sector";
    case DisplayMode::Polar:
        return "Polar";
    case DisplayMode::SideScan:
        return "Side Scan";
    }
    return Number(CodeOf(mode));
}

std::string StepText(int step)
{
    const char* name = StepName(step);
    return (name != nullptr && *name != '\0') ? std::string(name) : Number(step);
}

std::string PrfText(int loopMs)
{
    if (loopMs < 1)
        return kDiagnosticsNotAvailable;
    const float hz = 1000.0f / static_cast<float>(loopMs) + 0.05f;
    return Prefixed(Number(loopMs) + " ms (" + Fixed(hz, 1) + " Hz)");
}

} // namespace

DiagnosticsInput DiagnosticsInputFrom(const SonarState& state, const AcquisitionState& acquisition)
{
    const PingRecord& ping = state.ping;
    const SonarSettings& settings = state.settings;
    const CommandMessage& command = state.command;
    DiagnosticsInput in;
    in.header = ping.replyKind.substr(0, 3);
    in.headId = ping.headId;
    in.status = ping.statusByte;
    in.replyRangeMetres = ping.replyRange;
    in.metricScale = settings.metricScale;
    in.gain = settings.gain;
    in.sectorMode = settings.sectorMode;
    in.sectorWidth = command[CommandMessage::kSectorWidth];
    in.trainDegrees = settings.trainAngleDegrees;
    in.step = command[CommandMessage::kStep];
    in.headPosition = ping.headPosition;
    in.dataBytes = ping.dataCount;
    in.frequency = settings.frequency;
    in.absorption = settings.absorption;
    in.pulseLength = settings.pulseLength;
    in.switchDelay = command[CommandMessage::kSwitchDelay];
    in.speedOfSound = settings.speedOfSound;
    in.ipAddress = settings.ipAddress;
    in.comPort = settings.sonarComPort;
    in.sonarType = settings.sonarType;
    in.playback = state.flags.playback;
    in.awaitingReply = acquisition.awaitingReply;
    in.prfLoopMs = ping.loopTimeRounded;
    const bool replayed = in.playback || settings.udpMode != 0;
    in.loopTimeMs = replayed ? acquisition.replayLoop.Rounded() : acquisition.liveLoop.Rounded();
    in.droppedDatagrams = acquisition.droppedDatagrams;
    return in;
}

DiagnosticsLines::DiagnosticsLines()
{
    texts_.fill(kDiagnosticsNotAvailable);
}

const char* DiagnosticsLines::Label(int line)
{
    if (line == kDiagDropped)
        return kDiagDroppedLabel;
    return line >= 0 && line < kDiagLineCount ? kLabels[static_cast<std::size_t>(line)] : "";
}

const std::string& DiagnosticsLines::Text(int line) const
{
    static const std::string kNone;
    if (line == kDiagDropped)
        return droppedText_;
    return line >= 0 && line < kDiagLineCount ? texts_[static_cast<std::size_t>(line)] : kNone;
}

void DiagnosticsLines::Write(Mask& written, int line, std::string text)
{
    texts_[static_cast<std::size_t>(line)] = std::move(text);
    written |= Mask {1} << line;
}

DiagnosticsLines::Mask DiagnosticsLines::Reset()
{
    Mask written = 0;
    for (int line = 0; line < kDiagPrf; ++line)
        Write(written, line, kDiagnosticsNotAvailable);
    memory_ = Memory {};
    return written;
}

DiagnosticsLines::Mask DiagnosticsLines::Refresh(const DiagnosticsInput& in)
{
    Mask written = 0;
    Memory& m = memory_;
    // Each line: when its value differs from the remembered one, remember
    // it and write the text.
    auto line = [&](int id, auto& remembered, const auto& value, auto&& text) {
        if (remembered == value)
            return;
        remembered = value;
        Write(written, id, Prefixed(text()));
    };
    line(kDiagHeader, m.header, in.header, [&] { return in.header; });
    line(kDiagHeadId, m.headId, in.headId, [&] { return "0x" + Hex(in.headId); });
    line(kDiagStatus, m.status, in.status, [&] { return "0x" + Hex(in.status); });
    const int rangeIndex = RangeIndexForMetres(in.replyRangeMetres);
    line(kDiagRange, m.rangeIndex, rangeIndex, [&] {
        const int metres = RangeMetresForIndex(rangeIndex);
        return in.metricScale == 1 ? Number(ShownFeetForMetres(metres)) + " ft" : Number(metres) + " m";
    });
    line(kDiagGain, m.gain, in.gain, [&] { return Number(in.gain) + " dB"; });
    line(kDiagMode, m.mode, in.sectorMode, [&] { return ModeText(in.sectorMode); });
    line(kDiagSectorSize, m.sectorWidth, in.sectorWidth,
        [&] { return Number(DegreesForCode(in.sectorWidth)) + " deg."; });
    line(kDiagTrainAngle, m.trainDegrees, in.trainDegrees, [&] { return Number(in.trainDegrees) + " deg."; });
    line(kDiagSpeed, m.step, in.step, [&] { return StepText(in.step); });
    line(kDiagSwitchDelay, m.switchDelay, in.switchDelay, [&] { return Number(in.switchDelay) + " msec"; });
    line(kDiagHeadPos, m.headPosition, in.headPosition, [&] { return Number(in.headPosition) + " "; });
    line(kDiagDataBytes, m.dataBytes, in.dataBytes, [&] { return Number(in.dataBytes) + " "; });
    line(kDiagFrequency, m.frequency, in.frequency,
        [&] { return Number(FrequencyKhzForCode(in.frequency)) + " kHz"; });
    line(kDiagPulseLength, m.pulseLength, in.pulseLength,
        [&] { return Number(in.pulseLength * 10) + " usec"; });
    line(kDiagAbsorption, m.absorption, in.absorption,
        [&] { return Fixed(static_cast<double>(in.absorption) / 100.0, 2) + " dB/m"; });
    line(kDiagSoundV, m.speedOfSound, in.speedOfSound, [&] { return Fixed(in.speedOfSound, 1) + " m/s"; });

    if (in.droppedDatagrams != dropped_) {
        dropped_ = in.droppedDatagrams;
        droppedText_ = Prefixed(std::to_string(dropped_) + " datagrams");
        written |= Mask {1} << kDiagDropped;
    }

    // The link lines follow the head type; a playback shows neither.
    const bool live = !in.playback;
    if (m.ipAddress != in.ipAddress) {
        m.ipAddress = in.ipAddress;
        if (in.sonarType == SonarType::EthernetK52L && live)
            Write(written, kDiagIpAddress, Prefixed(in.ipAddress));
    }
    if (m.comPort != in.comPort) {
        m.comPort = in.comPort;
        if (in.sonarType == SonarType::SerialK52A && live)
            Write(written, kDiagComPort, Prefixed("COM" + Number(in.comPort)));
    }

    if (in.awaitingReply) {
        Write(written, kDiagPrf, kDiagnosticsNotAvailable);
        Write(written, kDiagLoopTime, kDiagnosticsNotAvailable);
        return written;
    }
    ++prfRefreshes_;
    if (in.prfLoopMs != m.loopTime && prfRefreshes_ > kPrfEveryRefreshes) {
        prfRefreshes_ = 0;
        m.loopTime = in.prfLoopMs;
        Write(written, kDiagPrf, PrfText(in.prfLoopMs));
    }
    Write(written, kDiagLoopTime, Prefixed(Number(in.loopTimeMs) + " ms"));
    return written;
}

bool DiagnosticsLines::SetExtraLines(ExtraLines lines)
{
    if (lines == extra_)
        return false;
    extra_ = std::move(lines);
    return true;
}

} // namespace velmaris
