#pragma once
// Commands that start, hold and re-aim the acquisition: connect, UDP mode,
// hold, and the head's address and COM port.

#include "station/CommandGroup.h"

namespace velmaris {

class LinkCommands final : public CommandGroup {
public:
    using CommandGroup::CommandGroup;

    void Register(CommandTable& table);

private:
    void ChangeIpAddress();
    void ChooseComPorts();
};

} // namespace velmaris
