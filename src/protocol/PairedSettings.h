#pragma once
// Settings that live twice: a saved copy in SonarSettings and the live byte
// of the command message that the next ping carries. Each pair changes only
// through its setter here, so the two cannot drift apart. Caller's thread
// (the user-interface thread for the document's objects); no failure.

#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"

#include <cstdint>

namespace velmaris {

inline void WriteRange(SonarSettings& settings, CommandMessage& message, std::uint8_t metres)
{
    message[CommandMessage::kRange] = metres;
    settings.range = metres;
}

inline void WriteGain(SonarSettings& settings, CommandMessage& message, std::uint8_t decibels)
{
    message[CommandMessage::kGain] = decibels;
    settings.gain = decibels;
}

inline void WriteFrequency(SonarSettings& settings, CommandMessage& message, std::uint8_t code)
{
    message[CommandMessage::kFrequency] = code;
    settings.frequency = code;
}

inline void WriteAbsorption(SonarSettings& settings, CommandMessage& message, std::uint8_t hundredths)
{
    message[CommandMessage::kAbsorption] = hundredths;
    settings.absorption = hundredths;
}

inline void WritePulseLength(
    SonarSettings& settings, CommandMessage& message, std::uint8_t tensOfMicroseconds)
{
    message[CommandMessage::kPulseLength] = tensOfMicroseconds;
    settings.pulseLength = tensOfMicroseconds;
}

} // namespace velmaris
