#pragma once
// The station's menus as plain data: titles, item texts with their "&"
// mnemonics, command ids, separators and submenus. The main frame builds its
// widgets from this; nothing here knows about widgets.

#include <string>
#include <vector>

namespace velmaris {

struct MenuItem {
    enum class Kind { Command, Separator, Submenu };
    Kind kind = Kind::Command;
    std::string text; // empty for separators
    int id = 0; // command id; 0 for separators and submenus
    std::vector<MenuItem> items; // submenu items

    static MenuItem Command(std::string text, int id) { return {Kind::Command, std::move(text), id, {}}; }
    static MenuItem Separator() { return {Kind::Separator, {}, 0, {}}; }
    static MenuItem Submenu(std::string text, std::vector<MenuItem> items)
    {
        return {Kind::Submenu, std::move(text), 0, std::move(items)};
    }
};

struct Menu {
    std::string title;
    std::vector<MenuItem> items;
};

// The menu bar while the document is open (always, in normal operation).
const std::vector<Menu>& MainMenuBar();
// The minimal menu bar the frame carries while no document is open.
const std::vector<Menu>& NoDocumentMenuBar();

// True for the commands whose menu item and toolbar button show a check
// mark (a check rule exists for them).
bool HasCheckRule(int id);

} // namespace velmaris
