#pragma once
// Fixed layout of the main frame as data: the toolbar buttons in order, the
// status bar panes and the accelerator table (hot keys). The Qt frame builds
// its widgets and shortcuts from these tables.

#include <span>
#include <string_view>

namespace velmaris {

struct ToolbarButton {
    int id;
    std::string_view name; // accessible name and tool tip
};

// The 16 buttons of the main toolbar, left to right, no separators.
std::span<const ToolbarButton> ToolbarButtons();

struct StatusPane {
    enum class Width { Stretch, FitText, Fixed };
    int id;
    std::string_view text; // initial text
    Width width;
    int pixels; // for Width::Fixed
    bool spacer; // borderless, disabled gap
};

// Message pane id (pane 0) and the value panes the view's read-out writes.
inline constexpr int kPaneMessage = 0;
inline constexpr int kPaneTargetSize = 2;
inline constexpr int kPaneRange = 5;
inline constexpr int kPaneBearing = 7;
inline constexpr int kPaneHorizontal = 14;
inline constexpr int kPaneVertical = 16;
inline constexpr int kPaneDateTime = 8;

// The 17 panes left to right. Ids 10 and 11 occur twice (spacers); a lookup
// by id finds the first.
std::span<const StatusPane> StatusPanes();

// One hot key. A Char entry matches the typed character exactly (the table
// lists both cases); a Key entry matches the key with exactly the given
// modifier.
struct Accelerator {
    enum class Kind { Char, Key };
    enum class Key { None, Space, S, F1, F2, F3, Up, Down, Left, Right };
    Kind kind;
    char ch; // Char entries
    Key key; // Key entries
    bool ctrl; // Key entries: Ctrl held
    int id;
};

std::span<const Accelerator> Accelerators();

} // namespace velmaris
