#pragma once
// The toolbar's artwork, drawn with vector paths at whatever size and pixel
// ratio the toolbar asks for, so the buttons stay crisp on high-DPI screens.
// One consistent style: dark ink outlines, one teal accent, a red record dot;
// the disabled look greys everything.

#include <QIcon>

namespace velmaris {

// Icon for a toolbar command id; a null icon for an id without artwork.
QIcon CommandIcon(int commandId);
// True when CommandIcon(commandId) has artwork.
bool HasCommandIcon(int commandId);

} // namespace velmaris
