#include "controls/HelpTexts.h"

namespace velmaris {

namespace {
constexpr const char* kDashes = "------------------------------"; // 30 hyphens
} // namespace

const std::array<const char*, 3> kHotKeyColumnTitles {"Command", "Hot Key", "Discription"};

const std::array<HotKeyRow, kHotKeyRowCount> kHotKeyRows {{
    {"Default K52L IP:", "", "192.168.0.5"},
    {"Default K52A COM Port:", "", "COM1"},
    {"", "", ""},
    {"", "", kDashes},
    {"Help", "F1", "Show Hot Keys Help Window"},
    {"Settings", "F2", "Show/Hide Settings Dialog."},
    {"Diagnostics", "F3", "Show/Hide Diagnostics Dialog."},
    {"", "", ""},
    {"", "", kDashes},
    {"Hold", "h, H", "Operation Held."},
    {"Reverse", "Space", "Reverse Scan Direction."},
    {"Clear the screen", "c, C", "Clear Sonar Image."},
    {"", "", ""},
    {"", "", kDashes},
    {"Key In Range", "r, R", "Keyboard entry for Range"},
    {"", "", "Entries: 1,2,3,4,5,10,20,30,40,50,60,80,100,150,200 in meters"},
    {"", "", "Entries: 3,6,9,12,15,30,60,90,120,150,180,240,300,450,600 in feet"},
    {"", "", ""},
    {"Key In Gain", "g, G", "Keyboard entry for Gain"},
    {"", "", "Entries: 1 - 40 with increment of 1"},
    {"", "", ""},
    {"Key In Sector width", "s, S", "Keyboard entry for Sector width"},
    {"", "", "Entries: 0 - 180 with increment of 3 (sector mode)"},
    {"", "", "Entries: 0 - 360 with increment of 3 (polar mode)"},
    {"", "", ""},
    {"Key In Train Angle", "t, T", "Keyboard entry for Train Angle"},
    {"", "", "Entries: 0 - 360 with increment of 3 "},
    {"", "", ""},
    {"", "", kDashes},
    {"Sector Width Increase", "Up", "Increase Sector Width 3 degrees"},
    {"Sector Width Decrease", "Down", "Decrease Sector Width 3 degrees"},
    {"Train Angle Increase", "Right", "Increase Train Angle 3 degrees"},
    {"Train Angle Decrease", "Left", "Decrease Train Angle 3 degrees"},
    {"", "", ""},
    {"", "", kDashes},
    {"Mouse LButton Drag", "", "Move Sonar Image"},
}};

} // namespace velmaris
