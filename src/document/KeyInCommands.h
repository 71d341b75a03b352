#pragma once
// The R, G, S and T hot keys that open the key-in window with a prompt, the
// arrow hot keys that step the sector width and train, and the rules the
// key-in window applies to what was typed. No widgets here: the window is
// reached through KeyInWindow, so the rules are tested without one.
//
// Ownership: references only; the document owns settings, flags and
// operations and outlives this object. The window pointer may be null (no
// key-in window exists) and is not owned. User-interface thread only.

#include "document/DocumentFlags.h"
#include "document/SettingsOperations.h"
#include "document/SonarSettings.h"

#include <string>
#include <string_view>

namespace velmaris {

enum KeyInKind { kKeyInRange = 0, kKeyInGain = 1, kKeyInSectorWidth = 2, kKeyInTrain = 3 };

inline constexpr const char* kKeyInRangeMetresPrompt = "Key In Range (meters): 1 - 200";
inline constexpr const char* kKeyInRangeFeetPrompt = "Key In Range (feet): 3 - 600 ";
inline constexpr const char* kKeyInGainPrompt = "Key In Gain: (0-40dB)";
inline constexpr const char* kKeyInSectorPrompt = "Key In Sctor Width: (0-180 deg.)";
inline constexpr const char* kKeyInPolarPrompt = "Key In Sctor Width: (0-360 deg.)";
inline constexpr const char* kKeyInTrainPrompt = "Key In Train Angle: (0-357 deg.)";

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
int ApplyKeyIn(SettingsOperations& operations, int kind, int value);

// Top-left corner of the key-in window: its right edge 15 pixels left of the
// main window's right edge, its top 31 pixels below the main window's top.
// Rectangles are frame rectangles (left, top, width).
struct ScreenPoint {
    int x = 0;
    int y = 0;
};
ScreenPoint KeyInWindowPosition(int mainLeft, int mainTop, int mainWidth, int keyInWidth);

// What the hot keys need of the key-in window.
class KeyInWindow {
public:
    virtual ~KeyInWindow() = default;
    virtual std::string Prompt() const = 0;
    // Sets prompt and kind, empties the field, places the window at the main
    // window's top right and shows it with the focus in the field.
    virtual void Present(int kind, const std::string& prompt) = 0;
};

class KeyInCommands {
public:
    KeyInCommands(const SonarSettings& settings, const DocumentFlags& flags, SettingsOperations& operations);

    void SetWindow(KeyInWindow* window) { window_ = window; }

    void KeyInRange(); // R: metres or feet prompt; other `Metric Scale` keeps the last prompt
    void KeyInGain(); // G
    void KeyInSectorWidth(); // S: nothing in SideScan
    void KeyInTrain(); // T

    void SectorWidthUp() { operations_.StepSectorWidth(+1); }
    void SectorWidthDown() { operations_.StepSectorWidth(-1); }
    void TrainUp() { operations_.StepTrain(+1); }
    void TrainDown() { operations_.StepTrain(-1); }

private:
    bool Available() const { return window_ != nullptr && flags_.playback == 0; }

    const SonarSettings& settings_;
    const DocumentFlags& flags_;
    SettingsOperations& operations_;
    KeyInWindow* window_ = nullptr;
};

} // namespace velmaris
