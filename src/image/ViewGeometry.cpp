#include "image/ViewGeometry.h"

#include <cmath>

#include "image/PaintInputs.h"
#include "protocol/SonarSettings.h"

namespace velmaris {

namespace {
constexpr double kPi = 3.1415926; // the constant every angle conversion of the image uses
constexpr double kSamplesPerLine = 500.0;
} // namespace

void Recentre(ViewInteraction& view)
{
    view.panX = view.panY = 0;
    view.savedPanX = view.savedPanY = 0;
    view.dragStartX = view.dragStartY = 0;
}

ViewGeometry ComputeViewGeometry(int cx, int cy, double zoom, DisplayMode displayMode, int panX, int panY)
{
    ViewGeometry geo;
    geo.width = cx;
    geo.height = cy;
    geo.zoom = zoom;
    geo.panX = panX;
    geo.panY = panY;
    const double half = kSamplesPerLine * zoom;
    geo.imageX = TruncToInt(static_cast<double>(cx / 2) - half);
    geo.imageY = displayMode == DisplayMode::SideScan ? 0 : TruncToInt(static_cast<double>(cy / 2) - half);
    geo.rasterLeft = TruncToInt(static_cast<double>(geo.imageX) + panX);
    geo.rasterTop = TruncToInt(static_cast<double>(geo.imageY) + panY);
    geo.originX = TruncToInt(static_cast<double>(cx / 2) + panX);
    geo.originY = TruncToInt(static_cast<double>(cy / 2) + panY);
    return geo;
}

ScreenPoint HeadLineEnd(
    const ViewGeometry& geo, double headAngle, int stepCode, int directionFlag, int sonarUpDown)
{
    const bool forward = (directionFlag == 1) != (sonarUpDown == 1);
    double phi = headAngle;
    if (!forward)
        phi += stepCode * static_cast<double>(0.3f);
    const double rad = phi * kPi / 180.0;
    const double length = kSamplesPerLine * geo.zoom;
    return {
        TruncToInt(geo.originX + std::sin(rad) * length), TruncToInt(geo.originY - std::cos(rad) * length)};
}

} // namespace velmaris
