#pragma once
// The display commands: colour table, zoom, grid, units, profile, marks, the
// colour indicator and the image clear. They change display settings only;
// the head is not told.

#include "station/CommandGroup.h"

namespace velmaris {

// Update hint of the colour-table commands; the view does not repaint on it
// (the new table shows from the next repaint).
inline constexpr int kColorTableHint = 10;

class DisplayCommands final : public CommandGroup {
public:
    using CommandGroup::CommandGroup;

    void Register(CommandTable& table);

    // The colour indicator bar is drawn while this is 1 (on from the start).
    bool ColorIndicator() const { return colorIndicator_; }

private:
    void SetZoom(double zoom);

    bool colorIndicator_ = true;
};

} // namespace velmaris
