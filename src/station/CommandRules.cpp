#include "station/CommandRules.h"

#include "protocol/SonarSettings.h"
#include "station/CommandHooks.h"
#include "station/CommandIds.h"

#include <algorithm>
#include <array>

namespace velmaris {

namespace {

constexpr char kPathSeparator = '/';

} // namespace

double ZoomForMenuId(int id)
{
    return 1.0 + 0.25 * (id - cmd::kZoom100);
}

double ZoomInFrom(double zoom)
{
    zoom += zoom < 2.0 ? 0.25 : 1.0;
    return std::clamp(zoom, kZoomMin, kZoomInMax);
}

double ZoomOutFrom(double zoom)
{
    zoom -= zoom <= 2.0 ? 0.25 : 1.0;
    return std::clamp(zoom, kZoomMin, kZoomOutMax);
}

std::optional<std::string> KeyInPrompt(KeyInKind kind, int metricScale, DisplayMode sectorMode)
{
    switch (kind) {
    case KeyInKind::Range:
        if (metricScale == 0)
            return kKeyInRangeMetresPrompt;
        if (metricScale == 1)
            return kKeyInRangeFeetPrompt;
        return std::nullopt;
    case KeyInKind::Gain:
        return kKeyInGainPrompt;
    case KeyInKind::SectorWidth:
        if (sectorMode == DisplayMode::Sector)
            return kKeyInSectorPrompt;
        if (sectorMode == DisplayMode::Polar)
            return kKeyInPolarPrompt;
        return std::nullopt;
    case KeyInKind::Train:
        return kKeyInTrainPrompt;
    }
    return std::nullopt;
}

int GpsBaudIndexFor(int baud)
{
    const auto it = std::find(kGpsBaudRates.begin() + 1, kGpsBaudRates.end(), baud);
    return it == kGpsBaudRates.end() ? 0 : static_cast<int>(it - kGpsBaudRates.begin());
}

int GpsBaudForIndex(int index)
{
    if (index < 0 || index >= static_cast<int>(kGpsBaudRates.size()))
        return kGpsBaudRates[0];
    return kGpsBaudRates[static_cast<std::size_t>(index)];
}

std::string RecordDirectoryFrom(const std::string& folder)
{
    if (!folder.empty() && folder.back() == kPathSeparator)
        return folder;
    return folder + kPathSeparator;
}

} // namespace velmaris
