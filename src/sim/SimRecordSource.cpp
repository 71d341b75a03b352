#include "sim/SimRecordSource.h"

#include "protocol/RecordHeader.h"
#include "protocol/ReplyMessage.h"

namespace velmaris::sim {

SimRecordSource::SimRecordSource(const SimRecordOptions& options)
    : options_(options)
    , command_(BuildSimCommand(options.command))
    , station_(command_)
    , head_(options.head)
{
    settings_.sectorMode = SectorModeFor(options.command.mode);
    settings_.sonarType = options.tag == "52A" ? SonarType::SerialK52A : SonarType::EthernetK52L;
    settings_.range = command_[CommandMessage::kRange];
    settings_.rangeIndex = RangeIndexForMetres(settings_.range);
    settings_.gain = command_[CommandMessage::kGain];
    settings_.trainAngleDegrees
        = TrainAngleDegreesFor(command_[CommandMessage::kTrain], settings_.sonarUpDown);
}

int SimRecordSource::NominalPeriodMs() const
{
    const int length = HeadModel::ReplyLengthFor(command_[CommandMessage::kDataPoints]);
    return static_cast<int>(command_[CommandMessage::kRange] * 2.0 / 1.5 + length / 11.52
        + command_[CommandMessage::kSwitchDelay] + 0.5);
}

std::vector<std::uint8_t> SimRecordSource::NextRecord(
    const LocalTime& when, int loopTimeMs, std::optional<double> boatClock)
{
    if (boatClock)
        head_.SetBoatTime(*boatClock);
    head_.Answer(command_.Bytes(), reply_);
    station_ = command_;
    StoreReply(reply_, ping_, echo_);
    DecodeReplyHeader(ping_, station_, settings_, ReplyContext {});
    StampPing(ping_, when);
    ping_.loopTime = loopTimeMs;
    ping_.loopTimeRounded = loopTimeMs;
    ++ping_.pingCount;
    return EncodeRecord(ping_, command_, settings_, echo_, options_.tag);
}

LocalTime AddMilliseconds(const LocalTime& start, long long ms)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    LocalTime t = start;
    long long total = t.millisecond + ms;
    t.millisecond = static_cast<int>(total % 1000);
    total = total / 1000 + t.second;
    t.second = static_cast<int>(total % 60);
    total = total / 60 + t.minute;
    t.minute = static_cast<int>(total % 60);
    total = total / 60 + t.hour;
    t.hour = static_cast<int>(total % 24);
    long long days = total / 24;
    while (days-- > 0) {
        const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
        const int inMonth = kDays[(t.month - 1) % 12] + (t.month == 2 && leap ? 1 : 0);
        if (++t.day > inMonth) {
            t.day = 1;
            if (++t.month > 12) {
                t.month = 1;
                ++t.year;
            }
        }
    }
    return t;
}

} // namespace velmaris::sim
