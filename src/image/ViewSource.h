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
// when the view paints.
struct ViewStatus {
    LinkState linkState = LinkState::Down;
    bool awaitingReply = false; // a command went out and no valid reply came back yet
    bool blinkToggle = false; // flips on every ping without reply; the status box shows while it is set
    bool held = false; // "Hold" has stopped the cycle
    bool playback = false; // a playback file is open
    bool recording = false; // a record (or copy) file is open
    std::int64_t outputFileLength = 0; // bytes written to the record file so far
    bool colorIndicator = true; // the colour indicator bar is shown
    int pingCount = 0; // pings decoded so far; animates the status line
    int sonarComPort = 1; // serial head's port number (COM%d)
    std::string headAddress; // Ethernet head's address text
    SonarType sonarType = SonarType::SerialK52A; // `Sonar Type`
    bool udpMode = false; // pings arrive as UDP datagrams
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
