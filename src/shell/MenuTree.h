#pragma once
// The station's menus as plain data: titles, item texts with their "&"
// mnemonics, command ids, separators and submenus. The main frame builds its
// widgets from this; nothing here knows about widgets.

#include <optional>
#include <string>
#include <string_view>
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

// A command's status-bar prompt (shown in the message pane while its menu
// item is highlighted) and its tool tip, both from one resource text
// "prompt\ntool tip".
struct CommandPrompt {
    std::string_view prompt;
    std::string_view toolTip;
};

// The prompt of `id`; nullopt for a command that has none.
std::optional<CommandPrompt> PromptFor(int id);

} // namespace velmaris
