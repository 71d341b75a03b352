#include "shell/MenuTree.h"

#include "station/CommandIds.h"

#include <algorithm>
#include <array>

namespace velmaris {

namespace {

using Item = MenuItem;

std::vector<Item> ItemsFrom(std::initializer_list<const char*> texts, int firstId)
{
    std::vector<Item> items;
    int id = firstId;
    for (const char* text : texts)
        items.push_back(Item::Command(text, id++));
    return items;
}

std::vector<Menu> BuildMainMenuBar()
{
    using namespace cmd;
    std::vector<Menu> bar;
    bar.push_back({"&File",
        {Item::Command("Connect to &Sonar Head", kConnect),
            Item::Command("&Open File to Playback", kOpenPlayback),
            Item::Command("Plot Data from UDP", kPlotUdp), Item::Separator(),
            Item::Command("&Record  Start (Stop)", kRecord),
            Item::Command("Set Record Directory...", kSetRecordDirectory),
            Item::Command("Auto Save File Names", kAutoSaveFileNames), Item::Separator(),
            Item::Command("&Save Screen", kSaveScreen), Item::Command("Export Targets...", kExportTargets),
            Item::Separator(), Item::Command("E&xit", kExit)}});
    bar.push_back({"&View",
        {Item::Command("&Hold", kHold), Item::Command("&Reverse", kReverse),
            Item::Command("&Clear Screen", kClearScreen), Item::Separator(),
            Item::Submenu("&Zoom Factor",
                ItemsFrom({"50 %", "75 %", "100 %", "125 %", "150 %", "175 %", "200 %"}, kZoomFirst)),
            Item::Command("Zoom In", kZoomIn), Item::Command("Zoom Out", kZoomOut), Item::Separator(),
            Item::Submenu("Grid",
                {Item::Command("None", kGridNone), Item::Command("Rectangular", kGridRectangular),
                    Item::Command("Polar", kGridPolar)}),
            Item::Command("Range Marker", kRangeMarker), Item::Command("Color &Indicator", kColorIndicator),
            Item::Separator(), Item::Command("Main &Toolbar", kToolbarToggle),
            Item::Command("Mini Settings Bar", kMiniSettingsBar),
            Item::Command("Show S&onar Settings", kShowSonarSettings)}});
    bar.push_back({"ColorTable",
        ItemsFrom({"Normal  &High", "Normal  &Low", "Gr&een", "&Grey", "&Reverse Grey", "&Brown / Yellow",
                      "Gree&n / Blue", "Green / &Yellow", "Bl&ue"},
            kColorTableFirst)});
    bar.push_back({"System",
        {Item::Command("&Choose COM Ports", kChooseComPorts), Item::Command("&IP Address", kIpAddress),
            Item::Command("&Diagnostics", kDiagnostics), Item::Separator(),
            Item::Command("Sound Velocity", kSoundVelocity),
            Item::Submenu("&Sonar Orientation",
                {Item::Command("&Up", kOrientationUp), Item::Command("&Down", kOrientationDown)}),
            Item::Submenu("Sonar Type",
                {Item::Command("K52A", kSonarTypeK52A), Item::Command("K52L", kSonarTypeK52L)})}});
    bar.push_back({"Options",
        {Item::Submenu("Units", {Item::Command("Meters", kUnitsMeters), Item::Command("Feet", kUnitsFeet)}),
            Item::Command("Measure Target", kMeasureTarget),
            Item::Command("RealTime Play Speed", kRealTimePlaySpeed)}});
    std::vector<Item> profile
        = ItemsFrom({"Off", "Points Only", "Low Mix", "Medium Mix", "High Mix"}, kProfileFirst);
    profile.push_back(Item::Separator());
    profile.push_back(Item::Submenu("Point Size", ItemsFrom({"Small", "Medium", "Large"}, kPointSizeFirst)));
    profile.push_back(Item::Command("Zero Down", kZeroDown));
    bar.push_back({"Profile", std::move(profile)});
    bar.push_back({"&Help", {Item::Command("Help...", kHelp), Item::Command("&About Velmaris...", kAbout)}});
    return bar;
}

std::vector<Menu> BuildNoDocumentMenuBar()
{
    using namespace cmd;
    return {{"&File", {Item::Command("E&xit", kExit)}},
        {"&View",
            {Item::Command("&Toolbar", kToolbarToggle), Item::Command("&Status Bar", kStatusBarToggle)}},
        {"&Help", {Item::Command("&About Velmaris...", kAbout)}}};
}

} // namespace

const std::vector<Menu>& MainMenuBar()
{
    static const std::vector<Menu> bar = BuildMainMenuBar();
    return bar;
}

const std::vector<Menu>& NoDocumentMenuBar()
{
    static const std::vector<Menu> bar = BuildNoDocumentMenuBar();
    return bar;
}

bool HasCheckRule(int id)
{
    using namespace cmd;
    const auto within = [id](int first, int last) { return id >= first && id <= last; };
    if (within(kColorTableFirst, kColorTableLast) || within(kZoomFirst, kZoomLast)
        || within(kProfileFirst, kProfileLast) || within(kPointSizeFirst, kPointSizeLast)
        || within(kModePolar, kModeSideScan) || within(kGridNone, kGridPolar))
        return true;
    static constexpr std::array kSingles {kShowSonarSettings, kRecord, kHold, kDiagnostics, kHelp,
        kColorIndicator, kUnitsMeters, kUnitsFeet, kAutoSaveFileNames, kOrientationUp, kOrientationDown,
        kRealTimePlaySpeed, kSonarTypeK52A, kSonarTypeK52L, kRangeMarker, kZeroDown, kMiniSettingsBar,
        kToolbarToggle, kStatusBarToggle, kMeasureTarget};
    return std::find(kSingles.begin(), kSingles.end(), id) != kSingles.end();
}

std::optional<CommandPrompt> PromptFor(int id)
{
    struct Entry {
        int id;
        std::string_view text; // the prompt, a newline, the tool tip
    };
    static constexpr Entry kPrompts[] = {{cmd::kPlotUdp, "Plot data from UDP\nUdp Mode"}};
    for (const Entry& entry : kPrompts) {
        if (entry.id != id)
            continue;
        const std::size_t split = entry.text.find('\n');
        if (split == std::string_view::npos)
            return CommandPrompt {entry.text, {}};
        return CommandPrompt {entry.text.substr(0, split), entry.text.substr(split + 1)};
    }
    return std::nullopt;
}

} // namespace velmaris
