#pragma once
// Display modes, orientation, sweep reversal, the head model, and the hot
// keys that change head settings (key-in and arrows).

#include "station/CommandGroup.h"

namespace velmaris {

class ModeCommands final : public CommandGroup {
public:
    using CommandGroup::CommandGroup;

    void Register(CommandTable& table);

private:
    void Reverse();
    void ChooseSonarType(SonarType type);
    void KeyIn(KeyInKind kind);
};

} // namespace velmaris
