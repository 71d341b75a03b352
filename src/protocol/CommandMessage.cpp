#include "protocol/CommandMessage.h"

#include "protocol/PairedSettings.h"
#include "protocol/SonarSettings.h"

namespace velmaris {

void InitialiseCommandMessage(CommandMessage& message, SonarSettings& settings)
{
    message = CommandMessage {};
    auto& b = message.Bytes();
    b[CommandMessage::kStart] = CommandMessage::kStartByte;
    b[CommandMessage::kKind] = CommandMessage::kKindByte;
    b[CommandMessage::kHeadId] = 0x10;
    b[CommandMessage::kConstant6] = 0x43;
    b[CommandMessage::kGain] = 20;
    b[CommandMessage::kConstant9] = 1;
    b[CommandMessage::kAbsorption] = 20;
    b[CommandMessage::kTrain] = 60;
    b[CommandMessage::kSectorWidth] = 120;
    b[CommandMessage::kStep] = kStepFast;
    b[CommandMessage::kPulseLength] = 10;
    b[CommandMessage::kDataPoints] = 50;
    b[CommandMessage::kParam20] = 8;
    b[CommandMessage::kFrequency] = 165;
    b[CommandMessage::kTerminator] = CommandMessage::kTerminatorByte;

    const auto metres = static_cast<std::uint8_t>(RangeMetresForIndex(settings.rangeIndex));
    WriteRange(settings, message, metres);
}

void SetReverseRequest(CommandMessage& message)
{
    ++message.pendingReverses_;
    message[CommandMessage::kFlags] |= CommandMessage::kReverseRequestBit;
}

void ClearOneShotRequests(CommandMessage& message, std::span<const std::uint8_t> sent)
{
    if (sent.size() < CommandMessage::kSize)
        return;
    // Read before writing: `sent` may be the live buffer.
    const bool carriedReverse = (sent[CommandMessage::kFlags] & CommandMessage::kReverseRequestBit) != 0;
    if (carriedReverse && message.pendingReverses_ > 0)
        --message.pendingReverses_;
    std::uint8_t& flags = message[CommandMessage::kFlags];
    flags &= 0x3F;
    if (message.pendingReverses_ > 0)
        flags |= CommandMessage::kReverseRequestBit;
}

std::uint8_t StepCodeFromSlider(int position)
{
    if (position <= 0)
        return kStepNone;
    if (position >= 5)
        return kStepFastest;
    return static_cast<std::uint8_t>(position);
}

} // namespace velmaris
