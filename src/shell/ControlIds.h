#pragma once
// Ids of the controls on the two one-line bars under the toolbar. The
// settings panel shares the six field ids of the mini settings bar; code
// that writes a field looks the control up by its id and skips a missing one.

namespace velmaris::ctl {

// Bar ids.
inline constexpr int kMiniSettingsBar = 139;
inline constexpr int kPlaybackBar = 135;

// Mini settings bar (and settings panel): value field and spin per setting.
inline constexpr int kRangeValue = 1049;
inline constexpr int kRangeSpin = 1050;
inline constexpr int kGainValue = 1051;
inline constexpr int kGainSpin = 1052;
inline constexpr int kSectorValue = 1053;
inline constexpr int kSectorSpin = 1054;
inline constexpr int kTrainValue = 1055;
inline constexpr int kTrainSpin = 1056;
inline constexpr int kSpeedValue = 1057;
inline constexpr int kSpeedSpin = 1058;
inline constexpr int kModeValue = 1059;
inline constexpr int kModeSpin = 1060;

// Playback bar.
inline constexpr int kPlaybackSpeedProgress = 1261;
inline constexpr int kPlaybackSpeedSpin = 1263;
inline constexpr int kPlaybackPositionSlider = 1266;

} // namespace velmaris::ctl
