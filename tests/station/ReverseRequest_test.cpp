// Every Reverse press reaches the head in exactly one transmitted command,
// whenever it comes against the link's work: before the command is copied,
// during the serial worker's read, while held, around a failed write or the
// TCP watchdog's resend.

#include "station/PingCycle.h"

#include "support/CycleRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

namespace velmaris {
namespace {

using namespace velmaris::testing;

struct ReverseScript {
    const char* name;
    SonarType sonarType;
    // p  a Reverse press          H  "Hold" (toggled)
    // serial: r  the ping timer (or the first ping's watchdog) fires and the
    //            command is copied for the worker
    //         h  the worker hands over: it read a reply and wrote the copy
    //         n  it hands over without having written the copy whole
    //         x  it hands over with no port open
    // TCP:    c  connected   s  send timer   w  watchdog   a  a whole reply
    //         f  the socket refuses the next send
    const char* steps;
    // One character per command that went out: 1 when it carried bit 6 of
    // byte 5.
    const char* carried;

    friend void PrintTo(const ReverseScript& script, std::ostream* out) { *out << script.name; }
};

class ReverseRequestTest : public ::testing::TestWithParam<ReverseScript> {
protected:
    bool CarriesReverse(std::span<const std::uint8_t> command)
    {
        return (command[CommandMessage::kFlags] & CommandMessage::kReverseRequestBit) != 0;
    }

    CycleRig rig;
    std::vector<std::array<std::uint8_t, kCommandSize>> serialSent;
};

TEST_P(ReverseRequestTest, EachPressGoesOutOnce)
{
    const ReverseScript& script = GetParam();
    rig.SaveIni(script.sonarType);
    rig.cycle.StartRealTime();
    const auto reply = MakeReply('G');
    for (const char* step = script.steps; *step != '\0'; ++step) {
        SCOPED_TRACE(std::string("step ") + std::to_string(step - script.steps) + " '" + *step + "'");
        switch (*step) {
        case 'p':
            SetReverseRequest(rig.state.command);
            break;
        case 'H':
            rig.cycle.ToggleHold();
            break;
        case 'r': {
            const std::size_t before = rig.serial.transfers.size();
            ASSERT_TRUE(rig.timers.Fire(kPingTimer) || rig.timers.Fire(kWatchdogTimer));
            ASSERT_EQ(rig.serial.transfers.size(), before + 1);
            break;
        }
        case 'h':
            serialSent.push_back(rig.serial.transfers.back());
            rig.cycle.OnSerialTransfer(reply, true, serialSent.back());
            break;
        case 'n':
            rig.cycle.OnSerialTransfer(reply, true, {});
            break;
        case 'x':
            rig.cycle.OnSerialTransfer({}, false, {});
            break;
        case 'c':
            rig.cycle.OnTcpConnected(true);
            break;
        case 's':
            ASSERT_TRUE(rig.timers.Fire(kSendTimer));
            rig.tcp.sendResult = true;
            break;
        case 'w':
            ASSERT_TRUE(rig.timers.Fire(kWatchdogTimer));
            rig.tcp.sendResult = true;
            break;
        case 'a':
            rig.cycle.OnTcpBytes(reply);
            break;
        case 'f':
            rig.tcp.sendResult = false;
            break;
        default:
            FAIL() << "unknown step";
        }
    }

    std::string carried;
    if (script.sonarType == SonarType::SerialK52A) {
        for (const auto& command : serialSent)
            carried += CarriesReverse(command) ? '1' : '0';
    } else {
        for (const auto& command : rig.tcp.sent)
            carried += CarriesReverse(command) ? '1' : '0';
    }
    EXPECT_EQ(carried, script.carried);
    const std::string steps = script.steps;
    EXPECT_EQ(std::count(carried.begin(), carried.end(), '1'), std::count(steps.begin(), steps.end(), 'p'))
        << "every press once";
}

INSTANTIATE_TEST_SUITE_P(Cycle, ReverseRequestTest,
    ::testing::Values(
        // Serial head: the worker copies the command at the request, reads
        // (up to 563 ms) and writes the copy before it hands over.
        ReverseScript {"SerialPressBeforeTheRequest", SonarType::SerialK52A, "rhprhrh", "010"},
        ReverseScript {"SerialPressDuringTheRead", SonarType::SerialK52A, "rhrphrhrh", "0010"},
        ReverseScript {"SerialPressesInSeparatePings", SonarType::SerialK52A, "rhprhrhprhrh", "01010"},
        ReverseScript {"SerialTwoPressesDuringOneRead", SonarType::SerialK52A, "rhrpphrhrhrh", "00110"},
        ReverseScript {"SerialPressDuringTheReadAndBeforeTheNext", SonarType::SerialK52A, "rhrphprhrhrh", "00110"},
        ReverseScript {"SerialHeldWhileTheCommandWentOut", SonarType::SerialK52A, "rhprHhHrhrh", "0100"},
        ReverseScript {"SerialShortWrite", SonarType::SerialK52A, "rhprnrhrh", "010"},
        ReverseScript {"SerialNoPort", SonarType::SerialK52A, "prxrhrh", "10"},
        // TCP head: the command is sent and cleared on the same thread.
        ReverseScript {"TcpPressBeforeTheSend", SonarType::EthernetK52L, "csapsas", "010"},
        ReverseScript {"TcpPressWhileTheReplyIsAwaited", SonarType::EthernetK52L, "cspasas", "010"},
        ReverseScript {"TcpPressJustBeforeTheWatchdogResend", SonarType::EthernetK52L, "cspwas", "010"},
        // The resend replaces a command the head most likely acted on: the
        // request it carried is not repeated.
        ReverseScript {"TcpResendAfterThePressWentOut", SonarType::EthernetK52L, "cpswas", "100"},
        ReverseScript {"TcpSendRefused", SonarType::EthernetK52L, "cpfswas", "10"}),
    [](const ::testing::TestParamInfo<ReverseScript>& info) { return std::string(info.param.name); });

} // namespace
} // namespace velmaris
