#include "image/ViewScene.h"

#include "image/SonarState.h"
#include "image/ViewGrid.h"
#include "image/ViewSource.h"
#include "image/ViewTexts.h"

namespace velmaris {

namespace {
constexpr int kCrossHalf = 8; // the measurement cross is two 16-pixel lines
} // namespace

ViewScene BuildViewScene(
    const SonarState& state, const ViewStatus& status, ViewInteraction& view, const ViewGeometry& geo)
{
    const SonarSettings& settings = state.settings;
    ViewScene scene;
    scene.reserve(64);
    if (settings.sectorMode != DisplayMode::SideScan) {
        const ScreenPoint end = HeadLineEnd(geo, state.ping.headAngle, state.command[CommandMessage::kStep],
            state.ping.directionFlag, settings.sonarUpDown);
        scene.push_back(ViewLine {{geo.originX, geo.originY}, end, kAxisColor});
    }
    AppendGrid(scene, geo, settings, state.command);

    AppendStatusBox(scene, status, view, geo.width, geo.height);
    for (ViewText& text : RangeReadouts(settings, state.command)) {
        scene.push_back(std::move(text));
    }
    for (ViewText& text : StatusLine(status, settings.viewRangeMark, geo.width)) {
        scene.push_back(std::move(text));
    }

    if (view.measurementShown) {
        const int ax = view.anchorX;
        const int ay = view.anchorY;
        scene.push_back(ViewLine {{ax - kCrossHalf, ay}, {ax + kCrossHalf, ay}, kMeasureLineColor});
        scene.push_back(ViewLine {{ax, ay - kCrossHalf}, {ax, ay + kCrossHalf}, kMeasureLineColor});
        scene.push_back(ViewLine {{ax, ay}, {view.cursorX, view.cursorY}, kMeasureLineColor});
        scene.push_back(MeasurementText(view.targetSize, settings.metricScale, view.cursorX, view.cursorY));
    }
    return scene;
}

} // namespace velmaris
