// Reads arbitrary bytes as the track beside a recording: navigation for
// pings around every line's stamp, and a copy's span of it. Whatever the
// file holds, positions and headings stay finite and in range, and every
// line handed to a copy is a whole line of the input.
#include "files/TrackFile.h"
#include "links/Navigation.h"

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmaris;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const NavigationTrack track = NavigationTrack::FromText(text);
    TrackSpan span(text);
    const AntennaOffsets offsets {1.5, -2.0, 90.0};
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lf = text.find('\n', start);
        const std::size_t end = lf == std::string::npos ? text.size() : lf + 1;
        if (const auto view = ParseTrackLine(std::string_view(text).substr(start, end - start))) {
            for (const double dt : {-2.5, -0.3, 0.0, 0.7, 2.0}) {
                const PingNavigation nav = track.At(view->localSeconds + dt, offsets);
                if (nav.hasPosition
                    && (!std::isfinite(nav.head.latitude) || std::fabs(nav.head.latitude) > 90.0001
                        || !std::isfinite(nav.head.longitude) || std::fabs(nav.head.longitude) > 180.0))
                    __builtin_trap();
                if (nav.HasHeading() && !(nav.heading >= 0 && nav.heading < 360))
                    __builtin_trap();
                if (nav.hasSpeed && !std::isfinite(nav.speedKnots))
                    __builtin_trap();
                if (const auto p = PointFromHead(nav, offsets, 200, dt * 100))
                    if (!std::isfinite(p->latitude) || !std::isfinite(p->longitude))
                        __builtin_trap();
            }
            lines.clear();
            span.LinesFor(view->localSeconds, lines);
            for (const std::string_view line : lines)
                if (!line.ends_with('\n') || text.find(line) == std::string::npos)
                    __builtin_trap();
        }
        start = end;
    }
    return 0;
}
