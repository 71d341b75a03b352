#pragma once
// What the sonar view reads from the document. The view draws from one
// ViewSource; the document implements it. Every call comes from the
// user-interface thread during a paint, so nothing here is locked.

#include <cstdint>
#include <string>

#include "image/LinkState.h"
#include "image/SonarState.h"

namespace velmaris {

// Acquisition and file state the overlays show, gathered by the document
// when the view paints. Flags are 0/1 integers.
struct ViewStatus {
    LinkState linkState = LinkState::Down;
    int awaitingReply = 0; // a command went out and no valid reply came back yet
    int blinkToggle = 0; // flips on every ping without reply; the status box shows while it is 1
    int held = 0; // "Hold" has stopped the cycle
    int playback = 0; // a playback file is open
    int recording = 0; // a record (or copy) file is open
    std::int64_t outputFileLength = 0; // bytes written to the record file so far
    int colorIndicator = 1; // the colour indicator bar is shown
    int pingCount = 0; // pings decoded so far; animates the status line
    int sonarComPort = 1; // serial head's port number (COM%d)
    std::string headAddress; // Ethernet head's address text
    SonarType sonarType = SonarType::SerialK52A; // `Sonar Type`
    int udpMode = 0; // pings arrive as UDP datagrams
};

// The two requests the view serves at the start of a paint.
struct ViewRequests {
    bool recentre = false; // zoom back to 1.0, pan and drag start cleared
    bool statusReset = false; // blink state and counter back to 0
};

class ViewSource {
public:
    virtual ~ViewSource() = default;

    // Settings, command message, current ping, flags, raster and colour
    // tables. The reference stays valid for the source's lifetime.
    virtual const SonarState& State() const = 0;

    // Status values for the overlays, read once per paint.
    virtual ViewStatus Status() const = 0;

    // Reads and clears the view requests (see TakeViewRequests below, which
    // an implementation holding a SonarState can simply call).
    virtual ViewRequests TakeRequests() = 0;
};

// Reads and clears `viewRecentreRequest` and `statusResetRequest`; a
// re-centre request also sets `Zoom` back to 1.0, clearing the image when
// that changes the zoom.
ViewRequests TakeViewRequests(SonarState& state);

struct ViewInteraction;

// What the view does with the requests at the start of a paint: re-centres,
// and starts the status blink over.
void ServeViewRequests(const ViewRequests& requests, ViewInteraction& view);

} // namespace velmaris
