#pragma once
// The texts of the view: the connection status box, the range, frequency,
// scale and gain read-outs, the recording or playback status line and the
// measured length. Positions are the top-left of the text cell.

#include <string>
#include <vector>

#include "image/ViewScene.h"

namespace velmaris {

struct SonarSettings;
struct ViewStatus;
class CommandMessage;

// The status box text for the current link, before the blink and drag
// conditions decide whether it is drawn. x is the text's left edge, w the
// box width to its right.
struct StatusBoxChoice {
    bool hasText = false;
    bool resetBlinkCounter = false; // the head answers: the blink counter restarts
    std::string text;
    int x = 0;
    int w = 0;
};

// First matching row wins, b = cx / 2: UDP mode: none; not playing back,
// link not 1, blink state on: "No Connection" (b - 60, 172); same with blink
// off: "Com Port : COM%d " (b - 80, 202) or "IP: %s" (b - 65, 172); playing
// back or link 1 with a reply awaited: "No Data at  COM%d " (b - 85, 202) or
// "No Data at IP: %s" (b - 85, 270); link 1 answered: none, counter reset.
StatusBoxChoice ChooseStatusBox(const ViewStatus& status, bool blinkState, int cx);

// The box and its text when there is text, no drag is in progress and the
// status blink toggle is on; each drawn box flips the blink state.
void AppendStatusBox(ViewScene& scene, const ViewStatus& status, ViewInteraction& view, int cx, int cy);

// Range ("%d m" / "%d ft"), frequency, per-division (when a grid is shown)
// and gain read-outs; nothing when `ViewRangeMark` is off.
std::vector<ViewText> RangeReadouts(const SonarSettings& settings, const CommandMessage& command);

// "Held" alone, or the recording / playback state with ping count mod 7
// dots and, while a file is written, its size in kilobytes.
std::vector<ViewText> StatusLine(const ViewStatus& status, int viewRangeMark, int cx);

// The measured length at (cursor x, cursor y - 30): "%.2f m", or "%.2f ft"
// of metres / 0.3048 in feet units.
ViewText MeasurementText(double metres, int metricScale, int cursorX, int cursorY);

// printf into a std::string (the texts are short; longer output is cut).
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace velmaris
