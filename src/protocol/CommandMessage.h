#pragma once
// The 27-byte command message sent to the head before every ping. The
// document holds one live buffer; settings are written straight into their
// bytes and the links transmit the buffer unchanged, so several settings
// have their authoritative value here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace velmaris {

struct SonarSettings;

class CommandMessage {
public:
    static constexpr std::size_t kSize = 27;

    // Byte offsets.
    static constexpr std::size_t kStart = 0; // 0xFE
    static constexpr std::size_t kKind = 1; // 0x44
    static constexpr std::size_t kHeadId = 2; // 0x10
    static constexpr std::size_t kRange = 3; // metres
    static constexpr std::size_t kFlags = 5; // bit 6 reverse request, bit 7 request bit
    static constexpr std::size_t kConstant6 = 6; // 0x43
    static constexpr std::size_t kGain = 8; // dB 0..40
    static constexpr std::size_t kConstant9 = 9; // 1
    static constexpr std::size_t kAbsorption = 10; // 0.01 dB/m
    static constexpr std::size_t kTrain = 11; // train code, units of 3 degrees
    static constexpr std::size_t kSectorWidth = 12; // units of 3 degrees
    static constexpr std::size_t kStep = 13; // step code
    static constexpr std::size_t kPulseLength = 14; // 10 us
    static constexpr std::size_t kDataPoints = 19; // 50 -> 'IGX', 25 -> 'IMX'
    static constexpr std::size_t kParam20 = 20; // 4, 8 or 16
    static constexpr std::size_t kReserved22 = 22;
    static constexpr std::size_t kSwitchDelay = 24; // ms, even 0..100
    static constexpr std::size_t kFrequency = 25; // code; kHz = 5 x code + 175
    static constexpr std::size_t kTerminator = 26; // 0xFD

    static constexpr std::uint8_t kStartByte = 0xFE;
    static constexpr std::uint8_t kKindByte = 0x44;
    static constexpr std::uint8_t kTerminatorByte = 0xFD;
    static constexpr std::uint8_t kReverseRequestBit = 0x40;

    std::uint8_t& operator[](std::size_t offset) { return bytes_[offset]; }
    std::uint8_t operator[](std::size_t offset) const { return bytes_[offset]; }
    const std::array<std::uint8_t, kSize>& Bytes() const { return bytes_; }
    std::array<std::uint8_t, kSize>& Bytes() { return bytes_; }
    // Reverse requests made and not yet carried by a transmitted message.
    int PendingReverses() const { return pendingReverses_; }

private:
    friend void SetReverseRequest(CommandMessage& message);
    friend void ClearOneShotRequests(CommandMessage& message, std::span<const std::uint8_t> sent);

    std::array<std::uint8_t, kSize> bytes_ {};
    int pendingReverses_ = 0;
};

// Sets all 27 bytes to their power-on values: gain 20, absorption 20, train
// 60, full-circle width 120, step Fast, pulse 10, 500 echo points, frequency
// code 165; no reverse request is pending. Byte 3 and `settings.range` take the range table entry of
// `settings.rangeIndex` (the 30 m default for an index outside the table).
// The stored settings are written over these values when they are loaded.
void InitialiseCommandMessage(CommandMessage& message, SonarSettings& settings);

// Asks the head to reverse its sweep once more: sets bit 6 of byte 5, which
// stays set until a transmitted message has carried every request made.
void SetReverseRequest(CommandMessage& message);

// To be called with the bytes of every message that went out whole (`sent`
// may be the live buffer itself or a copy taken earlier). A reverse request
// it carried is done, and bits 6 and 7 of byte 5 are cleared; bit 6 is set
// again while requests made since the copy was taken remain, so each request
// travels in exactly one transmitted message however requests and
// transmissions interleave. A `sent` shorter than a message (nothing went
// out) changes nothing.
void ClearOneShotRequests(CommandMessage& message, std::span<const std::uint8_t> sent);

// Step code for a speed slider position (1..5): the top position means
// Fastest (8), never the unassigned code 5. Positions outside 0..5 are
// limited first, so the result is always a valid step code.
std::uint8_t StepCodeFromSlider(int position);

} // namespace velmaris
