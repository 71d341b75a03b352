#pragma once
// Rules of the main frame that do not need a window: the title after a size
// change, which bars each operating mode shows, the Mini Settings Bar
// command's state. The titles themselves are the station's (WindowTitles.h).

#include <optional>
#include <string>

#include "protocol/SonarSettings.h"
#include "station/WindowTitles.h"

namespace velmaris {

// What the title rule reads from the document.
struct TitleState {
    bool hasDocument = false;
    bool playingBack = false;
    std::string playbackPath;
    int udpMode = 0; // `UDP Mode`
    SonarType sonarType = SonarType::SerialK52A; // `Sonar Type`
};

// Title set after every size change of the main frame: the first condition
// that holds wins; nullopt means the title stays as it is.
std::optional<std::string> FrameTitle(const TitleState& state);

// Operating modes as far as the bars are concerned.
enum class OperatingMode { RealTime, Udp, Playback };

enum class BarChange { Keep, Show, Hide };

struct BarPicture {
    BarChange toolbar;
    BarChange miniSettingsBar;
    BarChange playbackBar;
};

// Bars shown and hidden when a mode is entered.
BarPicture BarsForMode(OperatingMode mode);

struct CommandState {
    bool enabled;
    bool checked;
};

// Mini Settings Bar command: enabled exactly when not playing back, checked
// exactly when the bar is visible.
CommandState MiniSettingsBarState(bool playingBack, bool barVisible);

} // namespace velmaris
