#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace velmaris {
namespace {

std::string Hex(const CommandMessage& message)
{
    std::string text;
    char byte[4];
    for (std::uint8_t b : message.Bytes()) {
        std::snprintf(byte, sizeof byte, "%s%02X", text.empty() ? "" : " ", b);
        text += byte;
    }
    return text;
}

TEST(CommandMessage, FreshMessageHasThePowerOnBytes)
{
    CommandMessage message;
    message.Bytes().fill(0x77);
    SonarSettings settings;
    settings.range = 99;
    InitialiseCommandMessage(message, settings);
    EXPECT_EQ(
        Hex(message), "FE 44 10 1E 00 00 43 00 14 01 14 3C 78 03 0A 00 00 00 00 32 08 00 00 00 00 A5 FD");
    EXPECT_EQ(settings.range, 30);
}

TEST(CommandMessage, InitialRangeFollowsTheRangeIndex)
{
    CommandMessage message;
    SonarSettings settings;
    settings.rangeIndex = 13;
    InitialiseCommandMessage(message, settings);
    EXPECT_EQ(message[CommandMessage::kRange], 150);
    EXPECT_EQ(settings.range, 150);

    settings.rangeIndex = 15; // outside the table: the 30 m default
    InitialiseCommandMessage(message, settings);
    EXPECT_EQ(message[CommandMessage::kRange], 30);
    EXPECT_EQ(settings.range, 30);
}

TEST(CommandMessage, SentMessageClearsOnlyTheRequestsItCarried)
{
    CommandMessage message;
    SonarSettings settings;
    InitialiseCommandMessage(message, settings);
    const auto before = message.Bytes();

    SetReverseRequest(message);
    EXPECT_EQ(message[CommandMessage::kFlags], 0x40);
    const auto copy = message.Bytes(); // taken for a transmission
    SetReverseRequest(message); // made while the copy is on its way
    ClearOneShotRequests(message, std::span<const std::uint8_t>(copy).first(26)); // not sent whole
    EXPECT_EQ(message.PendingReverses(), 2);
    ClearOneShotRequests(message, copy);
    EXPECT_EQ(message[CommandMessage::kFlags], 0x40) << "the later request is still to go";
    ClearOneShotRequests(message, before); // a message without the bit leaves it
    EXPECT_EQ(message.PendingReverses(), 1);
    ClearOneShotRequests(message, message.Bytes());
    EXPECT_EQ(message.Bytes(), before);
    EXPECT_EQ(message.PendingReverses(), 0);

    message[CommandMessage::kFlags] = 0xFF; // both request bits go, the low bits stay
    ClearOneShotRequests(message, message.Bytes());
    EXPECT_EQ(message[CommandMessage::kFlags], 0x3F);

    SetReverseRequest(message);
    InitialiseCommandMessage(message, settings); // a reset drops what is pending
    EXPECT_EQ(message.PendingReverses(), 0);
}

TEST(CommandMessage, StepSliderTopGivesFastest)
{
    EXPECT_EQ(StepCodeFromSlider(5), kStepFastest);
    EXPECT_EQ(StepCodeFromSlider(9), kStepFastest);
    EXPECT_EQ(StepCodeFromSlider(4), kStepFaster);
    EXPECT_EQ(StepCodeFromSlider(1), kStepSlow);
    EXPECT_EQ(StepCodeFromSlider(-2), kStepNone);
}

} // namespace
} // namespace velmaris
