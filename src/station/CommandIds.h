#pragma once
// Command ids of the station. Every menu item, toolbar button and hot key
// names its command by one of these numbers; the document's enable/check
// rules and handlers are keyed by them too. The station's own commands run
// from 32771 to 32880; Exit, About, Help and the two bar toggles keep the
// framework's standard numbers.

namespace velmaris::cmd {

// "ColorTable" menu: table index = id - kColorTableFirst.
inline constexpr int kColorTableFirst = 32771; // "Normal  &High"
inline constexpr int kColorTableLast = 32779; // "Bl&ue"

// "&Zoom Factor" submenu: 50 % (32781) to 200 % (32787) in steps of 25 %.
inline constexpr int kZoomFirst = 32781;
inline constexpr int kZoom100 = 32783;
inline constexpr int kZoomLast = 32787;

inline constexpr int kSetRecordDirectory = 32790;
inline constexpr int kClearScreen = 32791;
inline constexpr int kColorIndicator = 32794;
inline constexpr int kChooseComPorts = 32796;
inline constexpr int kIpAddress = 32798;
inline constexpr int kDiagnostics = 32799;
inline constexpr int kSoundVelocity = 32801;
inline constexpr int kOrientationUp = 32802;
inline constexpr int kOrientationDown = 32803;
inline constexpr int kConnect = 32804;
inline constexpr int kOpenPlayback = 32805;
inline constexpr int kRecord = 32806;
inline constexpr int kModePolar = 32810; // toolbar only
inline constexpr int kModeSector = 32811; // toolbar only
inline constexpr int kModeSideScan = 32812; // toolbar only
inline constexpr int kHold = 32813;
inline constexpr int kReverse = 32814;
inline constexpr int kMeasureTarget = 32815;
inline constexpr int kAutoSaveFileNames = 32817;
inline constexpr int kZoomIn = 32822;
inline constexpr int kZoomOut = 32823;
inline constexpr int kShowSonarSettings = 32824;
inline constexpr int kRedraw = 32825; // toolbar only: re-centre and repaint
inline constexpr int kRangeMarker = 32827;
inline constexpr int kGridNone = 32828;
inline constexpr int kGridRectangular = 32829;
inline constexpr int kGridPolar = 32830;
inline constexpr int kUnitsMeters = 32842;
inline constexpr int kUnitsFeet = 32843;
inline constexpr int kMiniSettingsBar = 32844; // handled by the main frame

// "Profile" menu: mode = id - kProfileFirst ("Off" to "High Mix").
inline constexpr int kProfileFirst = 32850;
inline constexpr int kProfileLast = 32854;

// Key-in hot keys (R, G, T, S), no menu item.
inline constexpr int kKeyInRange = 32855;
inline constexpr int kKeyInGain = 32857;
inline constexpr int kKeyInTrain = 32859;
inline constexpr int kKeyInSectorWidth = 32861;

inline constexpr int kRealTimePlaySpeed = 32864;
inline constexpr int kSonarTypeK52A = 32866;
inline constexpr int kSonarTypeK52L = 32867;
inline constexpr int kSaveScreen = 32868;

// Arrow hot keys, no menu item.
inline constexpr int kSectorWider = 32870; // Up
inline constexpr int kSectorNarrower = 32871; // Down
inline constexpr int kTrainDown = 32872; // Left
inline constexpr int kTrainUp = 32873; // Right

// "Point Size" submenu: size = id - kPointSizeFirst.
inline constexpr int kPointSizeFirst = 32875;
inline constexpr int kPointSizeLast = 32877;

inline constexpr int kZeroDown = 32878;
inline constexpr int kPlotUdp = 32879;
inline constexpr int kExportTargets = 32880; // "Export Targets..." on the File menu

// Framework standard ids.
inline constexpr int kAbout = 57664;
inline constexpr int kExit = 57665;
inline constexpr int kHelp = 57670;
inline constexpr int kToolbarToggle = 59392;
inline constexpr int kStatusBarToggle = 59393;

} // namespace velmaris::cmd
