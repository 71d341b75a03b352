#pragma once
// What every group of document commands works on: the document, the shell's
// hooks and the rules the groups share. Each group (DisplayCommands,
// ModeCommands, LinkCommands, WindowCommands, TargetCommands) registers its
// commands in the CommandTable beside their handlers: adding a command is
// one Register line in its group.
//
// "Live only" commands are grey while `UDP Mode` is 1 or a playback runs.
//
// Ownership: holds references only; the document and the hooks must outlive
// the group. Groups are neither copied nor moved: their actions capture
// `this`. Thread: user-interface thread only.

#include "station/CVelmarisDoc.h"
#include "station/CommandHooks.h"
#include "station/CommandTable.h"

namespace velmaris {

class CommandGroup {
public:
    CommandGroup(CVelmarisDoc& doc, CommandHooks& hooks)
        : doc_(doc)
        , hooks_(hooks)
    { }
    CommandGroup(const CommandGroup&) = delete;
    CommandGroup& operator=(const CommandGroup&) = delete;

protected:
    ~CommandGroup() = default;

    SonarSettings& Settings() { return doc_.State().settings; }
    const SonarSettings& Settings() const { return doc_.State().settings; }
    bool Playback() const { return doc_.State().flags.playback; }
    bool LiveOnly() const { return Settings().udpMode != 1 && !Playback(); }
    void Repaint(int hint = 0) { hooks_.UpdateAllViews(hint); }

    CVelmarisDoc& doc_;
    CommandHooks& hooks_;
};

} // namespace velmaris
