#pragma once
// Grid geometry of the three grids as drawing primitives: the polar grid
// (rings over the sector and the train line or two diameters), the
// rectangular grid centred on the sonar origin, and the side-scan range
// lines. The spacing follows the speed of sound (the full range spans
// 500 z x 1500 / V pixels) and, in feet units, 3 x 0.3048 of it.

#include "image/ViewScene.h"

namespace velmaris {

struct SonarSettings;
class CommandMessage;

// Pixels for the full range: 500 z x 1500 / `Speed of Sound`; 0 when the
// speed or zoom cannot be used (no grid is drawn then).
double GridUnitPixels(double zoom, double speedOfSound);

// Appends the grid chosen by `Grid` and the display mode: Sector and Polar
// draw 1 polar, 2 rectangular; SideScan draws its lines for any non-zero value.
void AppendGrid(
    ViewScene& scene, const ViewGeometry& geo, const SonarSettings& settings, const CommandMessage& command);

void AppendPolarGrid(
    ViewScene& scene, const ViewGeometry& geo, const SonarSettings& settings, const CommandMessage& command);
void AppendRectangularGrid(ViewScene& scene, const ViewGeometry& geo, const SonarSettings& settings);
void AppendSideScanGrid(ViewScene& scene, const ViewGeometry& geo, const SonarSettings& settings);

} // namespace velmaris
