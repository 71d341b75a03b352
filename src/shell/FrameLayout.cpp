#include "shell/FrameLayout.h"

#include "station/CommandIds.h"

#include <array>

namespace velmaris {

namespace {

using namespace cmd;

constexpr std::array<ToolbarButton, 16> kToolbar {{
    {kConnect, "Connect to Sonar Head"},
    {kOpenPlayback, "Open File to Playback"},
    {kRecord, "Record Start (Stop)"},
    {kModePolar, "Polar"},
    {kModeSector, "Sector"},
    {kModeSideScan, "SideScan"},
    {kHold, "Hold"},
    {kReverse, "Reverse"},
    {kClearScreen, "Clear Screen"},
    {kRedraw, "Redraw"},
    {kZoomIn, "Zoom In"},
    {kZoomOut, "Zoom Out"},
    {kMeasureTarget, "Measure Target"},
    {kShowSonarSettings, "Show Sonar Settings"},
    {kDiagnostics, "Diagnostics"},
    {kHelp, "Help"},
}};

using W = StatusPane::Width;

constexpr std::array<StatusPane, 17> kPanes {{
    {kPaneMessage, "Ready", W::Stretch, 0, false},
    {1, "Target Size:", W::FitText, 0, false},
    {kPaneTargetSize, "", W::Fixed, 50, false},
    {9, "", W::Fixed, 10, true},
    {3, "Range:", W::FitText, 0, false},
    {kPaneRange, "", W::Fixed, 50, false},
    {10, "", W::Fixed, 10, true},
    {6, "Bearing:", W::FitText, 0, false},
    {kPaneBearing, "", W::Fixed, 50, false},
    {11, "", W::Fixed, 10, true},
    {13, "Hor:", W::FitText, 0, false},
    {kPaneHorizontal, "", W::Fixed, 50, false},
    {10, "", W::Fixed, 10, true},
    {15, "Ver:", W::FitText, 0, false},
    {kPaneVertical, "", W::Fixed, 50, false},
    {11, "", W::Fixed, 10, true},
    {kPaneDateTime, "", W::Fixed, 120, false},
}};

using K = Accelerator::Key;

constexpr Accelerator Char(char c, int id)
{
    return {Accelerator::Kind::Char, c, K::None, false, id};
}
constexpr Accelerator Key(K key, bool ctrl, int id)
{
    return {Accelerator::Kind::Key, 0, key, ctrl, id};
}

constexpr std::array<Accelerator, 21> kAccelerators {{
    Char('C', kClearScreen),
    Char('c', kClearScreen),
    Char('H', kHold),
    Char('h', kHold),
    Char('R', kKeyInRange),
    Char('r', kKeyInRange),
    Char('G', kKeyInGain),
    Char('g', kKeyInGain),
    Char('S', kKeyInSectorWidth),
    Char('s', kKeyInSectorWidth),
    Char('T', kKeyInTrain),
    Char('t', kKeyInTrain),
    Key(K::Space, false, kReverse),
    Key(K::S, true, kSaveScreen),
    Key(K::F1, false, kHelp),
    Key(K::F2, false, kShowSonarSettings),
    Key(K::F3, false, kDiagnostics),
    Key(K::Up, false, kSectorWider),
    Key(K::Down, false, kSectorNarrower),
    Key(K::Right, false, kTrainUp),
    Key(K::Left, false, kTrainDown),
}};

} // namespace

std::span<const ToolbarButton> ToolbarButtons()
{
    return kToolbar;
}
std::span<const StatusPane> StatusPanes()
{
    return kPanes;
}
std::span<const Accelerator> Accelerators()
{
    return kAccelerators;
}

} // namespace velmaris
