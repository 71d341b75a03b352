#include "sim/Boat.h"
#include "sim/Geodesy.h"
#include "sim/HeadModel.h"
#include "sim/Scene.h"
#include "sim/SimCommand.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace velmaris::sim {
namespace {

constexpr double kPi = 3.14159265358979323846;

BoatOptions Survey(double bearing = 0.0)
{
    BoatOptions o;
    o.speedKnots = 3600.0 / 1852.0; // one metre a second
    o.lineLength = 100.0;
    o.lineSpacing = 20.0; // turns of radius 10
    o.lines = 3;
    o.lineBearing = bearing;
    o.yawDegrees = 0.0;
    return o;
}

double AngleGap(double a, double b)
{
    return std::abs(std::remainder(a - b, 360.0));
}

TEST(Boat, RunsLinesAndHalfCircleTurnsOutAcrossTheAreaAndBack)
{
    const double leg = 100.0 + 10.0 * kPi;
    const double quarter = 5.0 * kPi;
    struct Case {
        double bearing, t, east, north, course;
    };
    const Case cases[] = {
        {0, -10, 0, -10, 0}, // before the start, on the first line's extension
        {0, 0, 0, 0, 0},
        {0, 50, 0, 50, 0},
        {0, 100, 0, 100, 0},
        {0, 100 + quarter, 10, 110, 90}, // turning to starboard at the far end
        {0, 100 + 2 * quarter, 20, 100, 180},
        {0, leg + 30, 20, 70, 180}, // second line, back south
        {0, 2 * leg - quarter, 30, -10, 90}, // turning to port at the near end
        {0, 2 * leg + 10, 40, 10, 0}, // the last line
        {0, 2 * leg + 100 + quarter, 30, 110, 270}, // and back across the area
        {0, 3 * leg + 20, 20, 80, 180},
        {0, 4 * leg - quarter, 10, -10, 270},
        {0, 4 * leg, 0, 0, 0}, // the cycle starts over
        {0, 4 * leg + 50, 0, 50, 0},
        {90, 50, 50, 0, 90}, // lines to the east lie to the south of each other
        {90, 2 * leg + 10, 10, -40, 90},
    };
    for (const Case& c : cases) {
        const Boat boat(Survey(c.bearing));
        const BoatPose pose = boat.PoseAt(c.t);
        EXPECT_NEAR(pose.east, c.east, 1e-6) << c.bearing << " " << c.t;
        EXPECT_NEAR(pose.north, c.north, 1e-6) << c.bearing << " " << c.t;
        EXPECT_LT(AngleGap(pose.course, c.course), 1e-6) << c.bearing << " " << c.t;
        EXPECT_NEAR(pose.speed, 1.0, 1e-9);
    }
    EXPECT_NEAR(Boat(Survey()).CycleSeconds(), 4 * leg, 1e-9);
}

TEST(Boat, MovesSmoothlyAndItsHeadingSwingsAboutTheCourseBySeed)
{
    BoatOptions options = Survey(30.0);
    options.yawDegrees = 2.0;
    const Boat boat(options);
    options.seed = 2;
    const Boat other(options);
    BoatPose last = boat.PoseAt(-1.0);
    double widest = 0.0, seedGap = 0.0;
    for (double t = -0.9; t < boat.CycleSeconds() + 5.0; t += 0.1) {
        const BoatPose pose = boat.PoseAt(t);
        // Never a jump: a tenth of a second covers at most a tenth of a metre,
        // and the course turns at most speed / radius.
        ASSERT_LE(std::hypot(pose.east - last.east, pose.north - last.north), 0.1 + 1e-9) << t;
        ASSERT_LE(AngleGap(pose.course, last.course), 0.1 / 10.0 * 180.0 / kPi + 1e-6) << t;
        const double yaw = AngleGap(pose.heading, pose.course);
        ASSERT_LE(yaw, 2.0 + 1e-9) << t;
        widest = std::max(widest, yaw);
        seedGap = std::max(seedGap, AngleGap(pose.heading, other.PoseAt(t).heading));
        last = pose;
    }
    EXPECT_GT(widest, 1.0);
    EXPECT_GT(seedGap, 0.5);
    BoatOptions again = Survey(30.0);
    again.yawDegrees = 2.0;
    EXPECT_EQ(Boat(again).PoseAt(123.4).heading, boat.PoseAt(123.4).heading); // same seed, same pose
}

// A reference independent of the local radii: the point on the start's
// tangent plane through earth-centred coordinates, back to latitude and
// longitude by iteration.
GeoPoint TangentPlaneReference(const GeoPoint& origin, double east, double north)
{
    const double a = kWgs84SemiMajor, e2 = kWgs84Flattening * (2.0 - kWgs84Flattening);
    const double lat = origin.latitude * kPi / 180.0, lon = origin.longitude * kPi / 180.0;
    const double n0 = a / std::sqrt(1.0 - e2 * std::sin(lat) * std::sin(lat));
    std::array<double, 3> p {n0 * std::cos(lat) * std::cos(lon), n0 * std::cos(lat) * std::sin(lon),
        n0 * (1.0 - e2) * std::sin(lat)};
    const std::array<double, 3> e {-std::sin(lon), std::cos(lon), 0.0};
    const std::array<double, 3> n {
        -std::sin(lat) * std::cos(lon), -std::sin(lat) * std::sin(lon), std::cos(lat)};
    for (int i = 0; i < 3; ++i)
        p[i] += east * e[i] + north * n[i];
    const double r = std::hypot(p[0], p[1]);
    double phi = std::atan2(p[2], r * (1.0 - e2));
    for (int i = 0; i < 10; ++i) {
        const double nn = a / std::sqrt(1.0 - e2 * std::sin(phi) * std::sin(phi));
        const double h = r / std::cos(phi) - nn;
        phi = std::atan2(p[2], r * (1.0 - e2 * nn / (nn + h)));
    }
    return {phi * 180.0 / kPi, std::atan2(p[1], p[0]) * 180.0 / kPi};
}

TEST(Geodesy, MetresToDegreesWithinATenthOfAMetreOverAKilometre)
{
    const GeoPoint origins[]
        = {{0.0, 0.0}, {45.0, -3.5}, {59.43, 10.55}, {-33.9, 151.2}, {75.0, 20.0}, {10.0, 179.995}};
    const std::array<double, 2> offsets[] = {{1000, 0}, {0, 1000}, {-1000, 1000}, {700, -700}, {0, -1000}};
    for (const GeoPoint& origin : origins) {
        for (const auto& [east, north] : offsets) {
            const GeoPoint ours = OffsetToGeo(origin, east, north);
            const GeoPoint reference = TangentPlaneReference(origin, east, north);
            const double dn
                = (ours.latitude - reference.latitude) * kPi / 180.0 * MeridianRadius(ours.latitude);
            const double de = std::remainder(ours.longitude - reference.longitude, 360.0) * kPi / 180.0
                * PrimeVerticalRadius(ours.latitude) * std::cos(ours.latitude * kPi / 180.0);
            EXPECT_LT(std::hypot(dn, de), 0.01) << origin.latitude << " " << east << " " << north;
            EXPECT_GE(ours.longitude, -180.0);
            EXPECT_LT(ours.longitude, 180.0);
            const Offset back = GeoToOffset(origin, ours);
            EXPECT_NEAR(back.east, east, 1e-3);
            EXPECT_NEAR(back.north, north, 1e-3);
        }
    }
}

// A strong target fixed in the world, seen from two poses of the boat: the
// bearing (from the bow) and the range where its echo appears follow the
// boat's position and heading.
TEST(Scene, ATargetFixedInTheWorldIsSeenWhereTheBoatsPoseSaysItIs)
{
    // Far to port of the generated rocks and the quay, on a shallow floor.
    const SceneTarget target {-290.0, 410.0, 0.6, 0.4, 5.0};
    struct Pose {
        double x, y, heading;
    };
    for (const Pose& pose :
        {Pose {-300.0, 400.0, 0.0}, Pose {-280.0, 421.0, 200.0}, Pose {-302.0, 405.0, 300.0}}) {
        Scene scene(11);
        scene.AddTarget(target);
        scene.SetVesselPose(pose.x, pose.y, pose.heading);
        const double dx = target.x - pose.x, dy = target.y - pose.y;
        const double horizontal = std::hypot(dx, dy);
        const double below = scene.Layout().Altitude(target.x, target.y) - 0.5 * target.height;
        const double slant = std::hypot(horizontal, below);
        const double bearing = std::remainder(std::atan2(dx, dy) * 180.0 / kPi - pose.heading, 360.0);

        PingGeometry ping;
        ping.rangeMetres = 30;
        std::array<std::uint8_t, 500> echoes {};
        double bearingSum = 0.0, nearest = 1e9;
        int lit = 0;
        for (double b = -180.0; b < 180.0; b += 0.5) {
            ping.bearingDegrees = b;
            scene.RenderPing(ping, echoes);
            for (int i = 0; i < 500; ++i)
                if (echoes[static_cast<std::size_t>(i)] >= 120) {
                    bearingSum += b;
                    ++lit;
                    nearest = std::min(nearest, i * 30.0 / 500.0);
                    break;
                }
        }
        ASSERT_GT(lit, 0) << pose.heading; // the floor stays below 80 counts, the target near 150
        EXPECT_NEAR(bearingSum / lit, bearing, 1.5) << pose.heading;
        EXPECT_NEAR(nearest, slant - 0.5 * target.radius, 0.25) << pose.heading;
    }
}

TEST(HeadModel, OnABoatTheHeadLooksOutFromTheBoatsPoseAtThePingsTime)
{
    BoatOptions boat = Survey(45.0);
    boat.yawDegrees = 1.0;
    HeadModel head({.seed = 3, .boat = boat});
    const std::vector<std::uint8_t> command = [] {
        SimCommandSettings s;
        const CommandMessage c = BuildSimCommand(s);
        return std::vector<std::uint8_t>(c.Bytes().begin(), c.Bytes().end());
    }();
    std::vector<std::uint8_t> reply;
    for (double t : {0.0, 70.0, 170.0}) {
        head.SetBoatTime(t);
        ASSERT_TRUE(head.Answer(command, reply));
        const BoatPose pose = Boat(boat).PoseAt(t);
        EXPECT_EQ(head.GetScene().VesselX(), pose.east) << t;
        EXPECT_EQ(head.GetScene().VesselY(), pose.north) << t;
        EXPECT_EQ(head.GetScene().VesselHeading(), pose.heading) << t;
    }
}

} // namespace
} // namespace velmaris::sim
