#pragma once
// The pixels QPainter sets for the view's 1-pixel overlay strokes (grid
// rings, grid and axis lines), kept from frame to frame: the same stroke on
// a frame of the same size sets the same pixels, so they are copied in its
// colour instead of being rasterised again (a full ring costs far more to
// rasterise than the palette pass over the whole window). The pens are
// opaque and aliased, so what a stroke sets never depends on what lies
// beneath it. A stroke is recorded the second frame running it is drawn, on
// a scratch image of the frame's size with nothing else on it; one that
// changes every frame (the head line, a picture being dragged) is drawn by
// the painter and never recorded. Strokes a frame does not draw are
// forgotten at its end.
//
// Ownership: one per view, next to its frame. Thread: user-interface thread
// only.

#include <QImage>
#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

#include "image/ViewScene.h"

class QPainter;

namespace velmaris {

// The two strokes as the view rasterises them, in the painter's pen.
void RasteriseStroke(QPainter& painter, const ViewArc& arc);
void RasteriseStroke(QPainter& painter, const ViewLine& line);

class StrokeCache {
public:
    // Draws the stroke onto frame (Format_RGB32 or ARGB32, the painter's
    // device) in the painter's current pen, which must be the view's opaque
    // 1-pixel cosmetic pen, or sets its recorded pixels in the pen's colour.
    void Draw(QPainter& painter, QImage& frame, const ViewArc& arc);
    void Draw(QPainter& painter, QImage& frame, const ViewLine& line);

    // After each frame: forgets the strokes it did not draw.
    void EndFrame();

    // Strokes whose pixels are recorded (for tests).
    std::size_t Recorded() const { return strokes_.size(); }

private:
    // Kind (0 arc, 1 line), frame width and height, then the geometry.
    using Key = std::tuple<int, int, int, int, int, int, int, float, float>;

    struct Stroke {
        std::vector<std::uint32_t> offsets; // in pixels from the frame's first
        bool used = true; // drawn in the current frame
    };

    template <typename Item>
    void DrawStroke(QPainter& painter, QImage& frame, const Key& key, const Item& item, const QRect& reach);
    template <typename Item>
    std::vector<std::uint32_t> Record(const QImage& frame, const Item& item, const QRect& reach);

    std::map<Key, Stroke> strokes_;
    std::map<Key, bool> seen_; // drawn by the painter; true: in the current frame
    QImage scratch_; // black, but while a stroke is recorded
};

} // namespace velmaris
