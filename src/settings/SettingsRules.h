#pragma once
// The pure rules that keep the settings and the live command message in
// step. They touch nothing but the two objects passed in (no flags, no
// windows), so the operator operations, the INI loader and the record
// decoder can all run them. User-interface thread only, like their callers.

#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"

namespace velmaris {

// Makes the command step fit the head and the mode. Both heads: a code of 5
// becomes 8, and SideScan carries step 0 (nothing else changes then). K52L
// outside SideScan: at 4 m or less the step becomes 1, at 5 m a step above 2
// becomes 2, a step of 0 takes `stepSize` (and 1 when that is 0 too), and
// `stepSize` then takes the command step. K52A outside SideScan: a step of 0
// becomes 1.
void NormaliseStep(SonarSettings& settings, CommandMessage& message);

// Copies the automatic-table row of `rangeIndex` (the default row for an
// index outside the table) into command bytes 25, 10, 14 and into
// `frequency`, `absorption`, `pulseLength`, whatever `autoSettings` holds.
void LoadAutomaticValues(SonarSettings& settings, CommandMessage& message);

// The one place that decides when the automatic values apply: with `Auto
// Settings` 1 it loads them as above, otherwise it changes nothing.
void ApplyAutomaticValues(CommandMessage& message, SonarSettings& settings);

// Copies command width and train into the saved copies of the current mode:
// Sector and Polar keep both, SideScan keeps the train only.
void StorePerMode(SonarSettings& settings, CommandMessage& message);

// `trainAngleDegrees` from command byte 11 and `sonarUpDown`.
void RecomputeTrainAngle(SonarSettings& settings, CommandMessage& message);

// Puts the current mode's saved width and train into the command: Sector
// width limited to 60, Polar to 120, SideScan width 0; a saved train code
// above 120 (hand-edited file) is sent as 60, straight ahead. The step byte is
// left alone. A mode outside 0..2 changes nothing.
void LoadModeGeometry(SonarSettings& settings, CommandMessage& message);

// What loading the stored settings does once `Sector Mode` is known: the
// mode's width and train go into the command (SideScan also step 0), the
// saved copies follow the command values, the train angle is recomputed and
// the step normalised.
void MoveModeSettingsIntoCommand(SonarSettings& settings, CommandMessage& message);

} // namespace velmaris
