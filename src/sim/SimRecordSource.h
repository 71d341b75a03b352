#pragma once
// Pings a simulated head the way a station would and turns each reply into
// a record (100-byte record header, reply header, echoes, padding) with the
// station's own decoders and record encoder. Feeds the UDP sender and the
// synthetic recordings. Not thread-safe.

#include "protocol/CommandMessage.h"
#include "protocol/EchoLine.h"
#include "protocol/PingRecord.h"
#include "protocol/SonarSettings.h"
#include "protocol/TimeStamp.h"
#include "sim/HeadModel.h"
#include "sim/SimCommand.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmaris::sim {

struct SimRecordOptions {
    SimCommandSettings command;
    HeadOptions head;
    std::string tag = "52L"; // "52A" serial-model data, "52L" Ethernet-model data
};

class SimRecordSource {
public:
    explicit SimRecordSource(const SimRecordOptions& options);

    // One ping: the whole record, stamped with the given time and loop time.
    // A head on a boat takes the ping at `boatClock` (Unix seconds) when
    // given, else at the wall clock.
    std::vector<std::uint8_t> NextRecord(
        const LocalTime& when, int loopTimeMs, std::optional<double> boatClock = std::nullopt);

    // The ping period a station would run at: two-way travel time, reply
    // transfer at 11.52 bytes per ms, switch delay; in whole milliseconds.
    int NominalPeriodMs() const;

    const PingRecord& LastPing() const { return ping_; }
    const HeadModel& Head() const { return head_; }

private:
    SimRecordOptions options_;
    CommandMessage command_; // what the head is sent every ping
    CommandMessage station_; // the station's copy the decoders update
    SonarSettings settings_;
    HeadModel head_;
    PingRecord ping_;
    ScanLine echo_ {};
    std::vector<std::uint8_t> reply_;
};

// The time `ms` milliseconds after `start` (days roll over through the
// calendar), for stamping synthetic pings without a clock.
LocalTime AddMilliseconds(const LocalTime& start, long long ms);

} // namespace velmaris::sim
