#pragma once
// The 27-byte command message sent to the head before every ping. The
// document holds one live buffer; settings are written straight into their
// bytes and the links transmit the buffer unchanged, so several settings
// have their authoritative value here.

#include <array>
#include <cstddef>
#include <cstdint>

namespace velmaris {

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

private:
    std::array<std::uint8_t, kSize> bytes_ {};
};

} // namespace velmaris
