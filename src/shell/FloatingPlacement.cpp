#include "shell/FloatingPlacement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <tuple>

namespace velmaris {

namespace {

std::int64_t Area(const PlaceRect& a, const PlaceRect& b)
{
    const std::int64_t w = std::min(a.Right(), b.Right()) - std::max(a.x, b.x);
    const std::int64_t h = std::min(a.Bottom(), b.Bottom()) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

PlaceRect Grown(const PlaceRect& r, int by)
{
    return {r.x - by, r.y - by, r.width + 2 * by, r.height + 2 * by};
}

// What of the menus, bars, texts and other windows `window` covers.
std::int64_t Covered(const PlacementScene& scene, const PlaceRect& inner, const PlaceRect& window)
{
    std::int64_t covered = Area(window, scene.frame) - Area(window, inner);
    for (const PlaceRect& clear : scene.keepClear)
        covered += Area(window, Grown(clear, kFloatingGap));
    return covered;
}

// Edges a best place can lean on: each rectangle's sides, from outside and
// from inside.
void AddEdges(std::vector<int>& at, int low, int high, int size)
{
    at.insert(at.end(), {low - size, low, high - size, high});
}

} // namespace

PlaceRect KeptOnScreen(PlaceRect window, const PlaceRect& screen)
{
    // Right and bottom first, so a window too large for the screen ends
    // with its top-left corner (title bar) on the screen.
    window.x = std::min(window.x, screen.Right() - window.width);
    window.y = std::min(window.y, screen.Bottom() - window.height);
    window.x = std::max(window.x, screen.x);
    window.y = std::max(window.y, screen.y);
    return window;
}

double HiddenPicture(const PlacementScene& scene, const PlaceRect& window)
{
    const PictureArea& p = scene.picture;
    const int x0 = std::max(window.x, scene.view.x);
    const int x1 = std::min(window.Right(), scene.view.Right());
    const double y0 = std::max(window.y, scene.view.y);
    const double y1 = std::min(window.Bottom(), scene.view.Bottom());
    if (x0 >= x1 || y0 >= y1)
        return 0.0;
    const double r2 = double(p.radius) * p.radius;
    double hidden = 0.0;
    for (int x = x0; x < x1; ++x) {
        // Per pixel column: the disk's and the strip's runs inside the window.
        double a0 = 0, a1 = 0, b0 = 0, b1 = 0;
        const double dx = x + 0.5 - p.centreX;
        if (p.radius > 0 && dx * dx < r2) {
            const double h = std::sqrt(r2 - dx * dx);
            a0 = std::max(y0, p.centreY - h);
            a1 = std::min(y1, p.centreY + h);
        }
        if (x >= p.strip.x && x < p.strip.Right()) {
            b0 = std::max(y0, double(p.strip.y));
            b1 = std::min(y1, double(p.strip.Bottom()));
        }
        const double a = std::max(0.0, a1 - a0);
        const double b = std::max(0.0, b1 - b0);
        const double both = std::max(0.0, std::min(a1, b1) - std::max(a0, b0));
        hidden += a + b - (a > 0 && b > 0 ? both : 0.0);
    }
    return hidden;
}

PlaceRect FirstFloatingPlace(const PlacementScene& scene, int width, int height)
{
    const PlaceRect inner = Grown(scene.view, -kFloatingGap);
    const PictureArea& p = scene.picture;
    std::vector<int> xs;
    std::vector<int> ys;
    std::vector<PlaceRect> edges {scene.screen, scene.frame, inner, p.strip,
        {p.centreX - p.radius, p.centreY - p.radius, 2 * p.radius, 2 * p.radius}};
    for (const PlaceRect& clear : scene.keepClear)
        edges.push_back(Grown(clear, kFloatingGap));
    for (const PlaceRect& e : edges) {
        AddEdges(xs, e.x, e.Right(), width);
        AddEdges(ys, e.y, e.Bottom(), height);
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    struct Candidate {
        PlaceRect at;
        std::int64_t covered;
        double hidden;
        std::int64_t distance; // of its top-right corner from the view's
    };
    std::vector<Candidate> candidates;
    candidates.reserve(xs.size() * ys.size());
    for (int x : xs) {
        for (int y : ys) {
            const PlaceRect at = KeptOnScreen({x, y, width, height}, scene.screen);
            const std::int64_t distance = std::llabs(std::int64_t(at.Right()) - inner.Right())
                + std::llabs(std::int64_t(at.y) - inner.y);
            candidates.push_back({at, Covered(scene, inner, at), 0.0, distance});
        }
    }
    if (candidates.empty())
        return KeptOnScreen({inner.Right() - width, inner.y, width, height}, scene.screen);

    // Covering nothing comes first; then hiding the least of the picture,
    // where a twentieth of the window's own area more still counts as least
    // (so the windows keep near the view's top-right corner when the
    // difference is small); a place that hides nothing always wins.
    std::int64_t leastCovered = candidates.front().covered;
    for (const Candidate& c : candidates)
        leastCovered = std::min(leastCovered, c.covered);
    double leastHidden = -1.0;
    for (Candidate& c : candidates) {
        if (c.covered != leastCovered)
            continue;
        c.hidden = HiddenPicture(scene, c.at);
        leastHidden = leastHidden < 0 ? c.hidden : std::min(leastHidden, c.hidden);
    }
    const double slack = leastHidden > 0 ? kHiddenSlack * width * height : 0.0;
    const Candidate* best = nullptr;
    for (const Candidate& c : candidates) {
        if (c.covered != leastCovered || c.hidden > leastHidden + slack)
            continue;
        if (best == nullptr
            || std::tie(c.distance, c.at.y, c.at.x) < std::tie(best->distance, best->at.y, best->at.x))
            best = &c;
    }
    return best->at;
}

} // namespace velmaris
