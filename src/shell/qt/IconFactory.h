#pragma once
// The toolbar's artwork: one SVG per command, compiled into the program
// (resources/velmaris.qrc, prefix /icons) and rendered afresh at whatever
// size and pixel ratio the toolbar asks for, so the buttons stay crisp on
// high-DPI screens. One consistent style: dark ink outlines, one teal accent,
// a red record dot; the disabled look turns every colour to a light grey.
// GUI thread only (QPixmap).

#include <QIcon>
#include <QString>

namespace velmaris {

// Icon for a toolbar command id; a null icon for an id without artwork.
QIcon CommandIcon(int commandId);
// True when CommandIcon(commandId) has artwork.
bool HasCommandIcon(int commandId);
// Resource path of the command's SVG (":/icons/record.svg"); empty for an id
// without artwork.
QString CommandIconResource(int commandId);

} // namespace velmaris
