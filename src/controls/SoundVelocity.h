#pragma once
// Rules of the sound velocity dialog: the accepted range, the text of the
// edit field, the spin's tenth-of-a-metre steps and the conversion of what
// was typed. Pure functions; the dialog in src/dialogs holds the widgets.

#include <string>
#include <string_view>

namespace velmaris {

inline constexpr double kSoundVelocityMin = 1400.0;
inline constexpr double kSoundVelocityMax = 1600.0;
inline constexpr double kSoundVelocityDefault = 1500.0;
inline constexpr int kSoundVelocitySpinUpper = 2000; // tenths above 1400
inline constexpr int kSoundVelocityMaxChars = 7;
inline constexpr const char* kSoundVelocityRangeMessage
    = "Wrong Input!!! Make sure the input is between 1400.0 and 1600.0   ";

std::string SoundVelocityText(double speed); // "%.1f"

// Spin position for a speed: tenths above 1400, truncated, within 0..2000.
int SoundVelocitySpinPosition(double speed);

// The dialog's working speed at the start: the stored speed truncated to a
// whole number (the default for a value that is not finite).
double InitialWorkingSpeed(double stored);

// One spin click of `delta` tenths. Nothing at or beyond the end it moves
// toward; otherwise the result is kept within 1400.0..1600.0 and rounded to
// a tenth, so repeated clicks do not drift.
double StepSoundVelocity(double working, int delta);

// The typed text as a number: the first seven characters, leading blanks,
// an optional sign, then a decimal number; 0 when none can be read.
double SoundVelocityFromText(std::string_view text);

bool IsSoundVelocityAccepted(double speed);

} // namespace velmaris
