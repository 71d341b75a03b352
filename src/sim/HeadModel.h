#pragma once
// The simulated K52 head: takes 27-byte command messages, steps its
// transducer through the commanded sector and answers each well-formed
// command with one reply message whose echoes come from the scene.
//
// Position is kept in the reply's units: 0.3 degree per unit, 600 straight
// ahead, 1200 per turn. Train code t (command byte 11, units of 3 degrees)
// puts the sector centre at position 10 t; sector width w (byte 12) spans
// 5 w units either side; width 120 or more is a full circle that keeps
// turning; step 0 or width 0 holds the head at the train angle (side-scan),
// and only those pings move the simulated vessel forward. With a boat, the
// head rides it instead: every ping looks out from the boat's pose at the
// ping's time, over targets fixed in the world.
//
// Not thread-safe: each transport owns its own model.

#include "sim/Boat.h"
#include "sim/Scene.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velmaris::sim {

struct HeadOptions {
    std::uint64_t seed = 1;
    double vesselSpeed = 1.5; // m/s over the ground during side-scan pings
    std::uint8_t status = 0x01; // reply byte 4; bit 0 is the status bit
    std::optional<BoatOptions> boat {}; // none: the vessel above, still unless side-scanning
};

// What the head did for the last answered command (for logs and tests).
struct HeadPingInfo {
    std::array<char, 4> kind {}; // "IGX", "IMX" or "IPX", zero-terminated
    int replyLength = 0;
    int echoCount = 0;
    int position = 0;
    int directionFlag = 0;
    int rangeMetres = 0;
    int profileValue = 0; // as sent in bytes 8 and 9
    bool sideScan = false;
};

class HeadModel {
public:
    static constexpr int kPositionsPerTurn = 1200;
    static constexpr int kStraightAhead = 600;
    static constexpr int kReplyHeaderSize = 12;
    static constexpr std::uint8_t kReplyEnd = 0xFC; // last byte of every reply

    explicit HeadModel(const HeadOptions& options = {});

    // Start, kind and terminator bytes right, and exactly 27 bytes.
    static bool IsWellFormed(std::span<const std::uint8_t> command);

    // Reply length the head uses for command byte 19: 50 gives 'IGX' (513),
    // 25 'IMX' (265), 0 'IPX' (13, no echoes); any other value 'IGX'.
    static int ReplyLengthFor(std::uint8_t dataPoints);

    // Two-way travel time at the commanded range plus the switch delay
    // (byte 24), in milliseconds: how long the head takes to ping.
    static double PingTimeMs(std::span<const std::uint8_t> command);

    // Answers one command. A malformed command is counted and gets no reply
    // (returns false, reply left empty); otherwise reply holds the message.
    bool Answer(std::span<const std::uint8_t> command, std::vector<std::uint8_t>& reply);

    int Position() const { return position_; }
    int DirectionFlag() const { return direction_ > 0 ? 1 : 0; }
    std::uint64_t PingCount() const { return pings_; }
    std::uint64_t MalformedCount() const { return malformed_; }
    const HeadPingInfo& LastPing() const { return last_; }
    Scene& GetScene() { return scene_; }

    // With a boat: the pings from now on are taken at this boat clock time
    // (Unix seconds); until it is set, at the wall clock's.
    void SetBoatTime(double clockSeconds) { boatTime_ = clockSeconds; }

private:
    void Step(std::span<const std::uint8_t> command);

    HeadOptions options_;
    Scene scene_;
    std::optional<Boat> boat_;
    std::optional<double> boatTime_;
    int position_ = kStraightAhead;
    int direction_ = +1;
    std::uint64_t pings_ = 0;
    std::uint64_t malformed_ = 0;
    HeadPingInfo last_;
};

// Writes a 12-byte reply header (the head's encoding of its state).
void EncodeReplyHeader(std::span<std::uint8_t, 12> out, const char kind[3], std::uint8_t headId,
    std::uint8_t status, int position, int directionFlag, std::uint8_t rangeMetres, int profileValue,
    int dataCount);

} // namespace velmaris::sim
