#include "image/ViewGrid.h"

#include <cmath>

#include "image/PaintInputs.h"
#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"
#include "protocol/Units.h"

namespace velmaris {

namespace {

constexpr double kPi = 3.1415926;
constexpr double kMaxGridUnit = 1.0e6; // beyond this the grid is meaningless and not drawn

// A metre spacing turned into the spacing of the feet grid: the metres of
// the shown feet (v x 3 x 0.3048, evaluated in that order).
double InFeet(double v)
{
    return MetresForFeet(ShownFeetForMetres(v));
}

ScreenPoint Pt(double x, double y)
{
    return {TruncToInt(x), TruncToInt(y)};
}

// Point on a circle about c at angle deg (counter-clockwise, screen up is
// 90), rounded as the arc itself is rasterised.
ScreenPoint OnArc(ScreenPoint c, int r, double deg)
{
    const double rad = deg * kPi / 180.0;
    return {
        TruncToInt(std::lround(c.x + r * std::cos(rad))), TruncToInt(std::lround(c.y - r * std::sin(rad)))};
}

double SectorCentreAngle(const SonarSettings& s)
{
    return s.trainAngleDegrees + s.rotateImage + (s.zeroDown != 0 ? 180.0 : 0.0);
}

} // namespace

double GridUnitPixels(double zoom, double speedOfSound)
{
    if (!(zoom > 0) || !(speedOfSound > 0))
        return 0.0;
    const double u = 500.0 * zoom * 1500.0 / speedOfSound;
    return (std::isfinite(u) && u <= kMaxGridUnit) ? u : 0.0;
}

void AppendGrid(
    ViewScene& scene, const ViewGeometry& geo, const SonarSettings& settings, const CommandMessage& command)
{
    if (settings.sectorMode == DisplayMode::SideScan) {
        if (settings.grid != 0)
            AppendSideScanGrid(scene, geo, settings);
    } else if (settings.grid == 1) {
        AppendPolarGrid(scene, geo, settings, command);
    } else if (settings.grid == 2) {
        AppendRectangularGrid(scene, geo, settings);
    }
}

void AppendPolarGrid(
    ViewScene& scene, const ViewGeometry& geo, const SonarSettings& settings, const CommandMessage& command)
{
    const double u = GridUnitPixels(geo.zoom, settings.speedOfSound);
    if (u <= 0)
        return;
    const double spacing = settings.metricScale == 1 ? InFeet(u) : u;
    const int w = command[CommandMessage::kSectorWidth];
    const double a = SectorCentreAngle(settings);
    const ScreenPoint o {geo.originX, geo.originY};
    if (w != 0) {
        const float start = static_cast<float>(-a - 1.5 * w + 90.0);
        const float sweep = static_cast<float>(3.0 * w);
        for (int i = 1; i <= 5; ++i) {
            const int r = TruncToInt(i * spacing / 5);
            // Move to the origin, arc (its first edge comes with it), line back.
            scene.push_back(ViewLine {o, OnArc(o, r, start), kGridColor});
            scene.push_back(ViewArc {o, r, start, sweep, kGridColor});
            scene.push_back(ViewLine {
                OnArc(o, r, static_cast<double>(start) + static_cast<double>(sweep)), o, kGridColor});
        }
    }
    // origin + sign x (cos, sin) x u for an angle in degrees (screen y down).
    auto along = [&](double deg, double sign) {
        const double rad = deg * kPi / 180.0;
        return Pt(o.x + sign * (std::cos(rad) * u), o.y + sign * (std::sin(rad) * u));
    };
    if (w >= 120) {
        for (const double deg : {settings.rotateImage - 90.0, settings.rotateImage}) {
            scene.push_back(ViewLine {along(deg, -1.0), along(deg, 1.0), kAxisColor});
        }
    } else {
        scene.push_back(ViewLine {o, along(a - 90.0, 1.0), kAxisColor});
    }
}

void AppendRectangularGrid(ViewScene& scene, const ViewGeometry& geo, const SonarSettings& settings)
{
    const double d = GridUnitPixels(geo.zoom, settings.speedOfSound);
    if (d <= 0)
        return;
    const double h = settings.metricScale == 1 ? InFeet(d) : d;
    const double cx = geo.width / 2;
    const double cy = geo.height / 2;
    const double px = geo.panX;
    const double py = geo.panY;
    for (int i = 0; i <= 10; ++i) {
        const double y = cy - h + i * h / 5 + py;
        scene.push_back(ViewLine {Pt(cx - d + px, y), Pt(cx + d + px, y), kGridColor});
    }
    for (int i = 0; i <= 10; ++i) {
        const double x = cx - h + i * h / 5 + px;
        scene.push_back(ViewLine {Pt(x, cy - d + py), Pt(x, cy + d + py), kGridColor});
    }
    scene.push_back(ViewLine {Pt(cx - d + px, cy + py), Pt(cx + d + px, cy + py), kAxisColor});
    scene.push_back(ViewLine {Pt(cx + px, cy - d + py), Pt(cx + px, cy + d + py), kAxisColor});
}

void AppendSideScanGrid(ViewScene& scene, const ViewGeometry& geo, const SonarSettings& settings)
{
    const double z = geo.zoom;
    if (!(z > 0) || z > kMaxPaintZoom)
        return;
    const int a = TruncToInt(static_cast<double>(TruncToInt(geo.width / 2 - z * 250)) + geo.panX);
    const int top = geo.panY;
    const int bottom = TruncToInt(static_cast<double>(top) + TruncToInt(4000 * z));
    scene.push_back(ViewLine {{a, top}, {a, bottom}, kAxisColor});
    for (int e = 100; e <= 500; e += 100) {
        const int x = TruncToInt(
            static_cast<double>(a) + TruncToInt(settings.metricScale == 1 ? InFeet(e * z) : e * z));
        scene.push_back(ViewLine {{x, top}, {x, bottom}, kGridColor});
    }
    const int right = TruncToInt(static_cast<double>(a) + TruncToInt(500 * z));
    scene.push_back(ViewLine {{a, top}, {right, top}, kGridColor});
    scene.push_back(ViewLine {{a, bottom}, {right, bottom}, kGridColor});
}

} // namespace velmaris
