#include "protocol/ReplyMessage.h"

#include <algorithm>

namespace velmaris {

namespace {

bool KindIs(std::span<const std::uint8_t> reply, char middle)
{
    return reply.size() >= 3 && reply[0] == 'I' && reply[1] == static_cast<std::uint8_t>(middle)
        && reply[2] == 'X';
}

std::uint8_t Lower(std::uint8_t c)
{
    // ASCII only, whatever the locale.
    return (c >= 'A' && c <= 'Z') ? static_cast<std::uint8_t>(c - 'A' + 'a') : c;
}

// Echo count for a reply header (kind compared lower-cased), or -1 when the
// bytes are not a reply.
int EchoCountForHeader(const std::array<std::uint8_t, PingRecord::kReplyHeaderSize>& header)
{
    if (Lower(header[0]) != 'i' || Lower(header[2]) != 'x')
        return -1;
    switch (Lower(header[1])) {
    case 'p':
        return 0;
    case 'm':
        return 250;
    case 'g':
        return 500;
    default:
        return -1;
    }
}

// Head angle in degrees for a 13-bit position: 600 is straight ahead, one
// unit is 0.3 degrees; wrapped once into 0..360, then turned by the operator's
// rotation (and half a turn for Zero Down) without further wrapping.
double HeadAngleFor(int position, const SonarSettings& settings)
{
    double angle = settings.sonarUpDown == 1 ? (600 - position) * 0.3 : (position - 600) * 0.3;
    if (angle < 0.0)
        angle += 360.0;
    if (angle >= 360.0)
        angle -= 360.0;
    angle += settings.rotateImage;
    if (settings.zeroDown)
        angle += 180.0;
    return angle;
}

std::uint8_t DataPointsByte(const PingRecord& ping, const ReplyContext& context)
{
    std::uint8_t points = 50;
    if (context.playback)
        points = ping.dataCount > 252 ? 50 : 25;
    if (context.udpMode && ping.echoCount == 250)
        points = 25;
    return points;
}

} // namespace

int ReplyLengthForKind(std::span<const std::uint8_t> reply)
{
    if (KindIs(reply, 'M'))
        return kReplyLengthIMX;
    if (KindIs(reply, 'G'))
        return kReplyLengthIGX;
    if (KindIs(reply, 'P'))
        return kReplyLengthIPX;
    return kReplyLengthUnknown;
}

std::size_t CopyIntoEchoBuffer(std::span<const std::uint8_t> bytes, ScanLine& l0)
{
    const std::size_t count = std::min(bytes.size(), l0.size());
    std::copy_n(bytes.begin(), count, l0.begin());
    return count;
}

int StoreReply(std::span<const std::uint8_t> received, PingRecord& ping, ScanLine& l0)
{
    const int length = ReplyLengthForKind(received);
    ping.replyLength = length;

    const std::size_t headerBytes = std::min<std::size_t>(received.size(), PingRecord::kReplyHeaderSize);
    ping.replyHeader.fill(0);
    std::copy_n(received.begin(), headerBytes, ping.replyHeader.begin());

    const std::size_t end = std::min(received.size(), static_cast<std::size_t>(length));
    if (end > PingRecord::kReplyHeaderSize)
        CopyIntoEchoBuffer(
            received.subspan(PingRecord::kReplyHeaderSize, end - PingRecord::kReplyHeaderSize), l0);
    return length;
}

bool DecodeReplyHeader(
    PingRecord& ping, CommandMessage& command, SonarSettings& settings, const ReplyContext& context)
{
    const auto& h = ping.replyHeader;
    const int echoCount = EchoCountForHeader(h);
    if (echoCount < 0)
        return false;

    ping.replyKind.assign(reinterpret_cast<const char*>(h.data()), 3);
    ping.echoCount = echoCount;

    ping.headId = h[3];
    ping.statusByte = h[4];
    ping.statusBit = h[4] & 1;

    if (!context.playback)
        ping.previousDirectionFlag = ping.directionFlag;
    ping.directionFlag = (h[6] >> 6) & 1;

    ping.headPosition = (h[6] & 0x3F) * 128 + (h[5] & 0x7F);
    ping.headAngle = HeadAngleFor(ping.headPosition, settings);

    ping.replyRange = h[7];
    if (context.playback || context.udpMode)
        command[CommandMessage::kRange] = ping.replyRange;

    const bool shortRange = ping.replyRange < 5;
    ping.profileValue = (h[9] & 0x7F) * 128 + (h[8] & 0x7F);
    ping.profileHistory[0] = ping.profileHistory[1];
    ping.profileHistory[1] = ping.profileHistory[2];
    const double profile = static_cast<double>(ping.profileValue);
    ping.profileHistory[2] = ProfileEntry {shortRange ? profile / 5.0 : profile, ping.headAngle};

    settings.rangeIndex = RangeIndexForMetres(command[CommandMessage::kRange]);

    if (ping.statusBit == 1)
        ping.statusOffset = shortRange ? -18 : -41;
    else
        ping.statusOffset = shortRange ? 112 : 202;

    ping.dataCount = h[11] * 128 + (h[10] & 0x7F);

    command[CommandMessage::kDataPoints] = DataPointsByte(ping, context);
    return true;
}

} // namespace velmaris
