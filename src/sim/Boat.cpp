#include "sim/Boat.h"

#include "sim/SplitMix64.h"
#include "sim/UtcTime.h"

#include <algorithm>
#include <cmath>

namespace velmaris::sim {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

double Bearing(double east, double north)
{
    const double b = std::atan2(east, north) / kDeg;
    return b < 0.0 ? b + 360.0 : b;
}

double Wrap360(double degrees)
{
    const double w = std::fmod(degrees, 360.0);
    return w < 0.0 ? w + 360.0 : w;
}

} // namespace

Boat::Boat(const BoatOptions& options)
    : options_(options)
{
    options_.lines = std::max(2, options_.lines);
    options_.lineLength = std::max(1.0, options_.lineLength);
    options_.lineSpacing = std::max(1.0, options_.lineSpacing);
    speed_ = std::max(0.0, options_.speedKnots) * kMetresPerSecondPerKnot;
    radius_ = 0.5 * options_.lineSpacing;
    SplitMix64 rng(Mix64(options_.seed ^ 0xB0A7B0A7B0A7B0A7ull));
    for (int k = 0; k < 2; ++k) {
        yawPhase_[k] = rng.NextUnit() * 2.0 * kPi;
        yawPeriod_[k] = (k == 0 ? 25.0 : 7.0) * (0.8 + 0.4 * rng.NextUnit());
    }
}

double Boat::LegMetres() const
{
    return options_.lineLength + kPi * radius_;
}

double Boat::CycleSeconds() const
{
    return speed_ > 0.0 ? 2.0 * (options_.lines - 1) * LegMetres() / speed_ : 0.0;
}

BoatPose Boat::PoseAt(double clockSeconds) const
{
    const double t = clockSeconds - options_.epoch;
    const double length = options_.lineLength;
    const double leg = LegMetres();
    const int turnsPerCycle = 2 * (options_.lines - 1);
    double distance = speed_ * t;
    // Along the first line (a) and to its starboard (c), and the direction
    // of travel in the same frame.
    double a = distance, c = 0.0, da = 1.0, dc = 0.0;
    if (distance > 0.0) {
        distance = std::fmod(distance, turnsPerCycle * leg);
        const int j = std::min(turnsPerCycle - 1, static_cast<int>(distance / leg));
        const double r = distance - j * leg;
        // The legs step out to the last line and back: the line of leg j.
        auto lineOf = [this, turnsPerCycle](int leg) {
            const int k = leg % turnsPerCycle;
            return k < options_.lines ? k : turnsPerCycle - k;
        };
        const double forward = j % 2 == 0 ? 1.0 : -1.0; // even legs run along the bearing
        const double offset = lineOf(j) * options_.lineSpacing;
        if (r < length) {
            a = forward > 0.0 ? r : length - r;
            c = offset;
            da = forward;
        } else {
            // Half circle from this line's end to the next line's start.
            const double side = lineOf(j + 1) > lineOf(j) ? 1.0 : -1.0;
            const double phi = (r - length) / radius_;
            const double end = forward > 0.0 ? length : 0.0;
            a = end + forward * radius_ * std::sin(phi);
            c = offset + side * radius_ * (1.0 - std::cos(phi));
            da = forward * std::cos(phi);
            dc = side * std::sin(phi);
        }
    }
    const double b = options_.lineBearing * kDeg;
    const double alongE = std::sin(b), alongN = std::cos(b); // along the first line
    const double acrossE = std::cos(b), acrossN = -std::sin(b); // to its starboard
    BoatPose pose;
    pose.east = a * alongE + c * acrossE;
    pose.north = a * alongN + c * acrossN;
    pose.course = Bearing(da * alongE + dc * acrossE, da * alongN + dc * acrossN);
    pose.speed = speed_;
    const double yaw = options_.yawDegrees
        * (0.7 * std::sin(2.0 * kPi * t / yawPeriod_[0] + yawPhase_[0])
            + 0.3 * std::sin(2.0 * kPi * t / yawPeriod_[1] + yawPhase_[1]));
    pose.heading = Wrap360(pose.course + yaw);
    return pose;
}

GeoPoint Boat::PositionOf(const BoatPose& pose) const
{
    return OffsetToGeo(options_.start, pose.east, pose.north);
}

double BoatClockNow()
{
    return static_cast<double>(UnixMsNow()) / 1000.0;
}

} // namespace velmaris::sim
