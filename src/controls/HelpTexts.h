#pragma once
// The fixed texts of the hot-keys window and the about box: the 36 rows of
// the hot-keys list in three columns, its column widths, and the about
// box's version line. Plain data.

#include <array>

namespace velmaris {

struct HotKeyRow {
    const char* command;
    const char* hotKey;
    const char* description;
};

inline constexpr int kHotKeyRowCount = 36;
extern const std::array<HotKeyRow, kHotKeyRowCount> kHotKeyRows;
extern const std::array<const char*, 3> kHotKeyColumnTitles; // "Command", "Hot Key", "Discription"

inline constexpr int kHotKeyCommandWidth = 130; // pixels
inline constexpr int kHotKeyKeyWidth = 70;
// The third column at creation: client width less this.
inline constexpr int kHotKeyDescriptionInset = 205;

// The third column after a resize fills the rest of the client width.
inline constexpr int HotKeyDescriptionWidth(int clientWidth, int commandWidth, int keyWidth)
{
    return clientWidth - commandWidth - keyWidth - 5;
}

inline constexpr const char* kHotKeysTitle = "Hot Keys...";
inline constexpr const char* kAboutTitle = "Velmaris...";
inline constexpr const char* kAboutVersionLine = "Velmaris Version Beta 1.0.0.6  27_FEB_2013";

} // namespace velmaris
