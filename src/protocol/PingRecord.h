#pragma once
// The decoded state of the current ping, held by the document and
// overwritten by every ping. The echo bytes themselves live in the receive
// line L0 of the scan-line history (image/ScanLineHistory.h).

#include <array>
#include <cstdint>
#include <string>

namespace velmaris {

struct ProfileEntry {
    double value = 0.0; // centimetres at 1500 m/s
    double angle = 0.0; // degrees
};

struct PingRecord {
    static constexpr int kReplyHeaderSize = 12;
    static constexpr int kMaxReplyLength = 513;

    std::array<std::uint8_t, kReplyHeaderSize> replyHeader {}; // bytes 0..11 as received
    std::string replyKind; // bytes 0..2 as received
    int echoCount = 0; // 0, 250 or 500
    int replyLength = 0; // 265, 513, 13 (or from a record header)
    int recordLength = 0; // record header bytes 4..5
    std::uint8_t headId = 0;
    std::uint8_t statusByte = 0;
    int statusBit = 0;
    int statusOffset = 0; // -41, -18, 202 or 112 microseconds
    int directionFlag = 0;
    int previousDirectionFlag = 0;
    int headPosition = 0; // 13 bits, 0.3 degree units, 600 straight ahead
    double headAngle = 0.0; // degrees, with rotation and zero-down added
    std::uint8_t replyRange = 30; // metres, reply byte 7
    int profileValue = 0; // 14 bits, centimetres
    std::array<ProfileEntry, 3> profileHistory {}; // oldest first
    int dataCount = 0;
    std::string date; // "07-DEC-2026"
    std::string time; // "14:30:05"
    std::string hundredths; // ".42"
    double loopTime = 0.0; // ms
    int loopTimeRounded = 0;
    int pingCount = 0;
    int receivedByteCount = 0;
};

} // namespace velmaris
