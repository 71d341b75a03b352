#pragma once
// What the web page shows beside the picture, as one JSON text: the texts
// an operator reads (range, frequency, scale, gain, mode, head position,
// recording or playback state, connection state, the GPS texts when GPS
// input runs) and the view's strokes (grid rings and lines, the head
// position line, a measurement) in the picture's pixels, drawn by the page
// over the picture as the station draws them over its view.
//
// {"type":"state","width":W,"height":H,"origin":[x,y],"texts":{...},"gps":null|{...},
//  "strokes":[["l",x1,y1,x2,y2,"#rrggbb"],["a",cx,cy,r,start,sweep,"#rrggbb"],...]}
//
// Plain functions, any thread.

#include <string>
#include <string_view>

#include "image/ViewGeometry.h"
#include "image/ViewSource.h"
#include "links/NmeaDecoder.h"

namespace velmaris {

struct SonarState;

// A JSON string literal: quotes, backslashes and control characters escaped,
// bytes that are not UTF-8 replaced by U+FFFD.
std::string JsonString(std::string_view text);

// The connection as one text: "UDP", "Playback", "No Connection",
// "Connecting", "No Data at IP: ..." / "No Data at  COMn ", or
// "Connected, IP: ..." / "Connected, COMn".
std::string LinkText(const ViewStatus& status);

// The state message. `view` is a copy of the view's interaction (the blink
// state it would change is not the view's); gps is null while GPS input is off.
std::string BuildWebState(const SonarState& state, const ViewStatus& status, ViewInteraction view,
    const ViewGeometry& geo, const GpsTexts* gps);

} // namespace velmaris
