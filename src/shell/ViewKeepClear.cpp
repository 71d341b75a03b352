#include "shell/ViewKeepClear.h"

#include "image/ColorIndicator.h"
#include "protocol/SonarSettings.h"

#include <algorithm>
#include <initializer_list>

namespace velmaris {

namespace {

// Text cell heights of the view's two fonts.
constexpr int kCellA = 24;
constexpr int kCellB = 20;

int Widest(const ViewTextWidth& width, ViewFont font, std::initializer_list<std::string_view> texts)
{
    int widest = 0;
    for (std::string_view text : texts)
        widest = std::max(widest, width(font, text));
    return widest;
}

PlaceRect Span(int left, int top, int right, int bottom)
{
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

} // namespace

std::vector<PlaceRect> ViewTextAreas(int cx, int cy, const ViewTextWidth& width)
{
    using F = ViewFont;
    std::vector<PlaceRect> areas;
    // Range and frequency at x 5, scale and gain at x 100; lines at y 5 (8) and 35.
    const int range = 5 + Widest(width, F::A, {"600 ft", "200 m", "1100 kHz"});
    const int scale = 100 + Widest(width, F::A, {"(120.0 ft/div)", "(40.0 m/div)", "(40 dB)"});
    areas.push_back(Span(5, 5, std::max(range, scale), 35 + kCellA));
    // "Not Recording" from cx - 175, the others from cx - 150 ("Held" from
    // cx - 90); the kilobytes on the second line at y 30. Cut at the edge.
    const int status = std::max({cx - 175 + Widest(width, F::B, {"Not Recording......"}),
        cx - 150
            + Widest(width, F::B,
                {"Recording......", "File Copying......", "File Playing......", "99999999 K Bytes"}),
        cx - 90 + width(F::A, "Held")});
    areas.push_back(Span(cx - 175, 5, std::min(cx, status), std::max(30 + kCellB, 5 + kCellA)));
    // The status box, its frame 26 pixels left of its text and 27 pixels up
    // from the bottom; a long text runs past the box's right edge.
    const int b = cx / 2;
    struct Box {
        std::string_view text;
        int x;
        int w;
    };
    int boxRight = 0;
    for (const Box& box : {Box {"No Connection", b - 60, 172}, Box {"Com Port : COM32 ", b - 80, 202},
             Box {"IP: 255.255.255.255", b - 65, 172}, Box {"No Data at  COM32 ", b - 85, 202},
             Box {"No Data at IP: 255.255.255.255", b - 85, 270}})
        boxRight = std::max(boxRight, box.x + std::max(box.w, width(F::A, box.text)));
    areas.push_back(Span(b - 85 - 26, cy - 27 - 1, std::min(cx, boxRight), cy));
    areas.push_back(
        Span(cx - kIndicatorBarRightInset, 0, cx - kIndicatorBarRightInset + kIndicatorBarWidth, cy));
    return areas;
}

PictureArea ViewPicture(int cx, int cy, double zoom, DisplayMode sectorMode)
{
    PictureArea picture;
    if (sectorMode == DisplayMode::SideScan) {
        const int left = int(cx / 2 - zoom * 250);
        picture.strip = {left, 0, int(500 * zoom), int(4000 * zoom)};
    } else {
        picture.centreX = cx / 2;
        picture.centreY = cy / 2;
        picture.radius = int(500 * zoom);
    }
    return picture;
}

PlaceRect Moved(PlaceRect r, int dx, int dy)
{
    r.x += dx;
    r.y += dy;
    return r;
}

PictureArea Moved(PictureArea p, int dx, int dy)
{
    p.centreX += dx;
    p.centreY += dy;
    p.strip = Moved(p.strip, dx, dy);
    return p;
}

} // namespace velmaris
