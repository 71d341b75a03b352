#include "sim/HeadModel.h"

#include "protocol/CommandMessage.h"

#include <algorithm>
#include <cstring>

namespace velmaris::sim {

namespace {

using CM = CommandMessage;

// Offset of a position from the sector centre, wrapped to [-600, 600).
int Wrap(int offset)
{
    offset %= HeadModel::kPositionsPerTurn;
    if (offset < -HeadModel::kPositionsPerTurn / 2)
        offset += HeadModel::kPositionsPerTurn;
    if (offset >= HeadModel::kPositionsPerTurn / 2)
        offset -= HeadModel::kPositionsPerTurn;
    return offset;
}

int Normalise(int position)
{
    position %= HeadModel::kPositionsPerTurn;
    return position < 0 ? position + HeadModel::kPositionsPerTurn : position;
}

} // namespace

HeadModel::HeadModel(const HeadOptions& options)
    : options_(options)
    , scene_(options.seed)
{
    if (options.boat)
        boat_.emplace(*options.boat);
}

bool HeadModel::IsWellFormed(std::span<const std::uint8_t> command)
{
    return command.size() == CM::kSize && command[CM::kStart] == CM::kStartByte
        && command[CM::kKind] == CM::kKindByte && command[CM::kTerminator] == CM::kTerminatorByte;
}

int HeadModel::ReplyLengthFor(std::uint8_t dataPoints)
{
    if (dataPoints == 25)
        return 265;
    if (dataPoints == 0)
        return 13;
    return 513;
}

double HeadModel::PingTimeMs(std::span<const std::uint8_t> command)
{
    if (command.size() != CM::kSize)
        return 0.0;
    return command[CM::kRange] * 2.0 / 1.5 + command[CM::kSwitchDelay];
}

void HeadModel::Step(std::span<const std::uint8_t> command)
{
    const int centre = 10 * command[CM::kTrain];
    const int width = command[CM::kSectorWidth];
    const int step = command[CM::kStep];
    if ((command[CM::kFlags] & CM::kReverseRequestBit) != 0)
        direction_ = -direction_;
    if (step == 0 || width == 0) {
        position_ = Normalise(centre);
        return;
    }
    if (width >= 120) {
        position_ = Normalise(position_ + direction_ * step);
        return;
    }
    const int half = 5 * width;
    int offset = std::clamp(Wrap(position_ - centre), -half, half);
    // At an edge the head turns round before it steps.
    if (direction_ > 0 && offset >= half)
        direction_ = -1;
    else if (direction_ < 0 && offset <= -half)
        direction_ = +1;
    offset = std::clamp(offset + direction_ * step, -half, half);
    position_ = Normalise(centre + offset);
}

bool HeadModel::Answer(std::span<const std::uint8_t> command, std::vector<std::uint8_t>& reply)
{
    reply.clear();
    if (!IsWellFormed(command)) {
        ++malformed_;
        return false;
    }
    Step(command);
    ++pings_;

    const int length = ReplyLengthFor(command[CM::kDataPoints]);
    const int echoCount = length == 513 ? 500 : length == 265 ? 250 : 0;
    const char* kind = length == 513 ? "IGX" : length == 265 ? "IMX" : "IPX";
    const std::uint8_t range = command[CM::kRange];
    const bool sideScan = command[CM::kStep] == 0 || command[CM::kSectorWidth] == 0;

    reply.assign(static_cast<std::size_t>(length), 0);
    if (boat_) {
        const BoatPose pose = boat_->PoseAt(boatTime_ ? *boatTime_ : BoatClockNow());
        scene_.SetVesselPose(pose.east, pose.north, pose.heading);
    }
    PingGeometry geometry;
    geometry.bearingDegrees = (position_ - kStraightAhead) * 0.3;
    geometry.rangeMetres = range;
    geometry.gainDb = command[CM::kGain];
    geometry.absorption = command[CM::kAbsorption];
    geometry.pulseLength = command[CM::kPulseLength];
    geometry.frequencyCode = command[CM::kFrequency];
    geometry.sideScan = sideScan;
    const std::span<std::uint8_t> echoes(
        reply.data() + kReplyHeaderSize, static_cast<std::size_t>(echoCount));
    int profile = scene_.RenderPing(geometry, echoes);
    // Short ranges report the bottom in fifths of a centimetre.
    if (range < 5)
        profile *= 5;
    profile = std::min(profile, 0x3FFF);
    reply.back() = kReplyEnd;

    EncodeReplyHeader(std::span<std::uint8_t, 12>(reply.data(), 12), kind, command[CM::kHeadId],
        options_.status, position_, DirectionFlag(), range, profile, echoCount);

    if (sideScan && !boat_) {
        // The vessel moves on during the ping cycle the station runs.
        const double periodMs = range * 2.0 / 1.5 + length / 11.52 + command[CM::kSwitchDelay];
        scene_.AdvanceVessel(options_.vesselSpeed * periodMs / 1000.0);
    }

    last_ = {};
    std::memcpy(last_.kind.data(), kind, 3);
    last_.replyLength = length;
    last_.echoCount = echoCount;
    last_.position = position_;
    last_.directionFlag = DirectionFlag();
    last_.rangeMetres = range;
    last_.profileValue = profile;
    last_.sideScan = sideScan;
    return true;
}

void EncodeReplyHeader(std::span<std::uint8_t, 12> out, const char kind[3], std::uint8_t headId,
    std::uint8_t status, int position, int directionFlag, std::uint8_t rangeMetres, int profileValue,
    int dataCount)
{
    out[0] = static_cast<std::uint8_t>(kind[0]);
    out[1] = static_cast<std::uint8_t>(kind[1]);
    out[2] = static_cast<std::uint8_t>(kind[2]);
    out[3] = headId;
    out[4] = status;
    out[5] = static_cast<std::uint8_t>(position & 0x7F);
    out[6] = static_cast<std::uint8_t>(((position >> 7) & 0x3F) | (directionFlag ? 0x40 : 0));
    out[7] = rangeMetres;
    out[8] = static_cast<std::uint8_t>(profileValue & 0x7F);
    out[9] = static_cast<std::uint8_t>((profileValue >> 7) & 0x7F);
    out[10] = static_cast<std::uint8_t>(dataCount & 0x7F);
    out[11] = static_cast<std::uint8_t>((dataCount >> 7) & 0xFF);
}

} // namespace velmaris::sim
