#pragma once
// The overlays of one view paint as an ordered list of drawing primitives:
// the head-position line, the grid, the status box, the texts and the
// measurement overlay. Built here without any drawing library; the Qt layer
// draws the items in order (later items on top).

#include <string>
#include <variant>
#include <vector>

#include "image/SonarBitmap.h"
#include "image/ViewGeometry.h"

namespace velmaris {

struct SonarState;
struct ViewStatus;

// Overlay colours.
inline constexpr Rgb kGridColor {120, 50, 0}; // grid lines, side-scan range lines
inline constexpr Rgb kAxisColor {120, 120, 0}; // grid axes, head-position line, side-scan strip edge
inline constexpr Rgb kRangeTextColor {200, 200, 0}; // range, frequency, "File Playing", kilobytes
inline constexpr Rgb kScaleTextColor {255, 150, 0}; // per-division and gain
inline constexpr Rgb kRecordingColor {0, 250, 0}; // "Recording", "File Copying"
inline constexpr Rgb kNotRecordingColor {250, 0, 0};
inline constexpr Rgb kStatusBoxTextColor {250, 250, 250}; // also the 2-pixel frame
inline constexpr Rgb kStatusBoxFillColor {250, 0, 0}; // also the box text's background
inline constexpr Rgb kMeasureLineColor {0, 150, 150};
inline constexpr Rgb kMeasureTextColor {250, 250, 0};
inline constexpr Rgb kTextBackground {0, 0, 0};

enum class ViewFont {
    A, // "Arial", 24 pixels, normal weight
    B, // "Arial", 20 pixels, normal weight
};

// 1-pixel solid line between two pixels, both ends drawn.
struct ViewLine {
    ScreenPoint from;
    ScreenPoint to;
    Rgb color;
    friend bool operator==(const ViewLine&, const ViewLine&) = default;
};

// 1-pixel circular arc about centre, angles in degrees counter-clockwise
// from the +x axis (screen up is 90).
struct ViewArc {
    ScreenPoint centre;
    int radius = 0;
    float startDeg = 0;
    float sweepDeg = 0;
    Rgb color;
    friend bool operator==(const ViewArc&, const ViewArc&) = default;
};

// Text whose cell's top-left corner is (x, y), on an opaque background.
struct ViewText {
    std::string text;
    int x = 0;
    int y = 0;
    ViewFont font = ViewFont::A;
    Rgb color;
    Rgb background = kTextBackground;
    friend bool operator==(const ViewText&, const ViewText&) = default;
};

// The connection status box: frame rectangle (x - 26, y - 1) .. (x + w,
// y + 26) drawn with a 2-pixel pen, inside (x - 25, y) .. (x + w - 2,
// y + 25) filled red; its text follows as a separate ViewText.
struct ViewBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int fillLeft = 0;
    int fillTop = 0;
    int fillRight = 0; // exclusive
    int fillBottom = 0; // exclusive
    friend bool operator==(const ViewBox&, const ViewBox&) = default;
};

using ViewItem = std::variant<ViewLine, ViewArc, ViewText, ViewBox>;
using ViewScene = std::vector<ViewItem>;

// The overlays in paint order for one paint. Reads the settings, command,
// ping and status; flips the view's blink state when the status box is
// drawn (and resets its counter when the head answers).
ViewScene BuildViewScene(
    const SonarState& state, const ViewStatus& status, ViewInteraction& view, const ViewGeometry& geo);

} // namespace velmaris
