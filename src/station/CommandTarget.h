#pragma once
// The one seam between the main frame and whatever carries out commands.
// The frame asks the target whether a command's menu item and toolbar
// button are enabled and checked, and hands it every command the operator
// gives (menu, toolbar, hot key) that the frame does not handle itself.
// The document's commands (DocumentCommands) implement it; tests use a fake.
//
// Thread: user-interface thread only, in both directions.

namespace velmaris {

class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    // Enable and check rules. A command without a rule is enabled and unchecked.
    virtual bool IsEnabled(int id) const = 0;
    virtual bool IsChecked(int id) const = 0;
    // Carries out command `id`. The frame calls it only while IsEnabled(id)
    // holds, so a grey command never runs, whatever route it came by.
    virtual void Execute(int id) = 0;
};

// Told when enable or check states changed outside a command the frame
// routed itself (a link that came up, a mode stepped on the mini settings
// bar, a playback started, a floating window closed...). The main frame
// implements it and re-reads every state; nothing polls. The commands in
// turn listen to the document through this interface ("the state may have
// changed") and pass on only real changes.
class CommandStateObserver {
public:
    virtual ~CommandStateObserver() = default;
    virtual void CommandStatesChanged() = 0;
};

} // namespace velmaris
