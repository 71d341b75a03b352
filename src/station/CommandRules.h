#pragma once
// The arithmetic and texts behind some document commands, kept apart so they
// can be checked without a document: the zoom steps, the key-in prompts, the
// GPS baud index of the port dialog and the record folder text.

#include "protocol/SonarSettings.h"
#include "station/CommandHooks.h" // key-in kinds

#include <optional>
#include <string>

namespace velmaris {

// Prompts of the key-in window, as the R, G, S and T hot keys set them.
inline constexpr const char* kKeyInRangeMetresPrompt = "Key In Range (meters): 1 - 200";
inline constexpr const char* kKeyInRangeFeetPrompt = "Key In Range (feet): 3 - 600 ";
inline constexpr const char* kKeyInGainPrompt = "Key In Gain: (0-40dB)";
inline constexpr const char* kKeyInSectorPrompt = "Key In Sctor Width: (0-180 deg.)";
inline constexpr const char* kKeyInPolarPrompt = "Key In Sctor Width: (0-360 deg.)";
inline constexpr const char* kKeyInTrainPrompt = "Key In Train Angle: (0-357 deg.)";

inline constexpr double kZoomMin = 0.5;
inline constexpr double kZoomInMax = 2.0;
// "Zoom Out" is limited at 4.0, above anything "Zoom In" reaches, so only a
// zoom loaded from the INI file can lie between 2.0 and 4.0.
inline constexpr double kZoomOutMax = 4.0;

// "&Zoom Factor" item: 0.5 for 50 % to 2.0 for 200 %.
double ZoomForMenuId(int id);
// "Zoom In": + 0.25 below 2, else + 1; then limited to 0.5..2.0.
double ZoomInFrom(double zoom);
// "Zoom Out": - 0.25 at 2 or less, else - 1; then limited to 0.5..4.0.
double ZoomOutFrom(double zoom);

// Key-in prompt for a kind. Range: by `Metric Scale` (0 metres, 1 feet;
// nullopt for any other value: the dialog keeps its last prompt). Sector
// width: by `Sector Mode` (nullopt in SideScan, where the hot key does
// nothing).
std::optional<std::string> KeyInPrompt(KeyInKind kind, int metricScale, DisplayMode sectorMode);

// Port dialog baud list: 4800, 9600, 19200, 38400, 57600, 115200.
int GpsBaudIndexFor(int baud); // any other rate gives 0
int GpsBaudForIndex(int index); // an index outside 0..5 gives 4800

// `Write File Directory` from a chosen folder: the folder followed by the
// path separator (not doubled when the folder already ends with one).
std::string RecordDirectoryFrom(const std::string& folder);

} // namespace velmaris
