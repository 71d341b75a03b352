#pragma once
// What the diagnostics window shows: twenty lines of label and value, the
// last reply header, the settings being sent, the link and the timing. This
// class makes every decision (which line changes, its text) and keeps the
// change memory, so a refresh rewrites only the lines whose value changed
// ("Loop Time" is written every time, "RealTime PRF" at most once every 11
// refreshes). The window only copies the texts of the written lines.
//
// Below the twenty, once a UDP datagram had to be dropped (it came faster
// than it could be painted), the "Dropped" line counts them. Extra lines
// (e.g. the GPS read-out) can be appended below; the window shows them as
// they are given.
//
// Plain data, no windows. User-interface thread only.

#include "protocol/SonarSettings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmaris {

inline constexpr const char* kDiagnosticsNotAvailable = ":   n/a";

struct SonarState;
struct AcquisitionState;

enum DiagnosticsLine {
    kDiagHeader,
    kDiagHeadId,
    kDiagStatus,
    kDiagRange,
    kDiagGain,
    kDiagMode,
    kDiagSectorSize,
    kDiagTrainAngle,
    kDiagSpeed,
    kDiagHeadPos,
    kDiagDataBytes,
    kDiagFrequency,
    kDiagAbsorption,
    kDiagPulseLength,
    kDiagSwitchDelay,
    kDiagSoundV,
    kDiagComPort,
    kDiagIpAddress,
    kDiagPrf,
    kDiagLoopTime,
    kDiagLineCount
};

// The "Dropped" line: its bit in a refresh's mask and its label.
inline constexpr int kDiagDropped = kDiagLineCount;
inline constexpr const char* kDiagDroppedLabel = "Dropped";

// The values one refresh looks at, gathered from the document.
struct DiagnosticsInput {
    std::string header; // first three characters of the last reply header
    int headId = 0;
    int status = 0;
    int replyRangeMetres = 0; // range byte of the last reply
    int metricScale = 0;
    int gain = 0; // `Gain`
    DisplayMode sectorMode = DisplayMode::Sector;
    int sectorWidth = 0; // command value, units of 3 degrees
    int trainDegrees = 0;
    int step = 0; // command step code
    int headPosition = 0;
    int dataBytes = 0;
    int frequency = 0; // `Frequency` code
    int absorption = 0; // `Absorption`, 0.01 dB/m
    int pulseLength = 0; // `Pulse Length`, 10 us
    int switchDelay = 0; // command value, ms
    double speedOfSound = 0.0;
    std::string ipAddress;
    int comPort = 0;
    SonarType sonarType = SonarType::SerialK52A;
    bool playback = false;
    bool awaitingReply = false;
    int prfLoopMs = 0; // loop time P of the "RealTime PRF" line, rounded
    int loopTimeMs = 0; // what the "Loop Time" line shows
    std::uint64_t droppedDatagrams = 0; // UDP datagrams not painted since UDP mode started
};

// The refresh input from the document's state and the cycle's acquisition
// state (loop times, awaiting-reply flag).
DiagnosticsInput DiagnosticsInputFrom(const SonarState& state, const AcquisitionState& acquisition);

class DiagnosticsLines {
public:
    using Mask = std::uint32_t; // bit n: line n was written

    DiagnosticsLines();

    static const char* Label(int line); // "Header" .. "Loop Time", "Dropped"; "" outside
    const std::string& Text(int line) const; // kDiagDropped: "" until a datagram was dropped

    // Blanks the first 18 value texts and forgets what they showed; the two
    // timing lines keep their text. Returns the lines written.
    Mask Reset();
    // One refresh; returns the lines written (a written line may carry the
    // text it had, as "Loop Time" does every time).
    Mask Refresh(const DiagnosticsInput& in);

    // Lines shown below the twenty, as (label, value) pairs. Returns true
    // when they differ from the ones held.
    using ExtraLines = std::vector<std::pair<std::string, std::string>>;
    bool SetExtraLines(ExtraLines lines);
    const ExtraLines& Extra() const { return extra_; }

private:
    void Write(Mask& written, int line, std::string text);

    struct Memory {
        std::string header;
        std::string ipAddress;
        int headId = 0;
        int status = 0;
        int rangeIndex = -1;
        int gain = -1;
        std::optional<DisplayMode> mode;
        int trainDegrees = -1;
        int headPosition = -1;
        int dataBytes = -1;
        int comPort = -1;
        int loopTime = -1;
        double speedOfSound = 0.0;
        // No value takes -1; a reset memory of 255 would keep an absorption
        // of 255 (a valid value) at ":   n/a" for good.
        int frequency = -1;
        int pulseLength = -1;
        int absorption = -1;
        int sectorWidth = -1;
        int step = -1;
        int switchDelay = -1;
    };

    std::array<std::string, kDiagLineCount> texts_;
    std::string droppedText_; // kept by Reset, like the timing lines
    std::uint64_t dropped_ = 0;
    Memory memory_;
    int prfRefreshes_ = 0;
    ExtraLines extra_;
};

} // namespace velmaris
