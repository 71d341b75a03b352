#pragma once
// The key-in window's rules: how a typed value is read and applied, and
// where the window sits (the prompts of the R, G, S and T hot keys are the
// commands', CommandRules.h).
// No widgets here, so the rules are tested without one. The hot keys
// themselves are document commands.

#include "image/ViewGeometry.h" // ScreenPoint
#include "settings/SettingsOperations.h"
#include "station/CommandHooks.h" // key-in kinds

#include <string>
#include <string_view>

namespace velmaris {

// The key-in field holds at most this many characters; longer text is cut.
inline constexpr int kKeyInMaxChars = 3;
inline constexpr int kKeyInInitialValue = -10;

// Number typed into the key-in field: the first three characters, leading
// blanks and one sign allowed, then the leading digits; 0 without digits.
// An empty text keeps `previous` (Enter on an empty field repeats the last
// number).
int KeyInValueFromText(std::string_view text, int previous);

// Applies a typed value for a kind through the settings operations (which
// ignore negative values and do nothing during playback). Returns the value
// the window remembers for the next empty Enter: a gain above 40 is kept as
// 40; everything else as typed.
int ApplyKeyIn(SettingsOperations& operations, KeyInKind kind, int value);

// Top-left corner of the key-in window: its right edge 15 pixels left of the
// main window's right edge, its top 31 pixels below the main window's top.
// Rectangles are frame rectangles (left, top, width).
ScreenPoint KeyInWindowPosition(int mainLeft, int mainTop, int mainWidth, int keyInWidth);

} // namespace velmaris
