#include "image/qt/StrokeCache.h"

#include <QPainter>

namespace velmaris {

namespace {

constexpr QRgb kScratchBackground = 0xFF000000u;
constexpr int kMargin = 4; // beyond the geometry, around what a 1-pixel pen can reach

QPen StrokePen(const QColor& color)
{
    // A cosmetic 1-pixel pen takes the painter's thin-line path, far
    // cheaper for the rings than the general stroker.
    QPen pen(color, 1, Qt::SolidLine);
    pen.setCosmetic(true);
    return pen;
}

QRect Reach(const ViewArc& arc)
{
    return QRect(arc.centre.x - arc.radius, arc.centre.y - arc.radius, 2 * arc.radius + 1, 2 * arc.radius + 1)
        .adjusted(-kMargin, -kMargin, kMargin, kMargin);
}

QRect Reach(const ViewLine& line)
{
    return QRect(QPoint(std::min(line.from.x, line.to.x), std::min(line.from.y, line.to.y)),
        QPoint(std::max(line.from.x, line.to.x), std::max(line.from.y, line.to.y)))
        .adjusted(-kMargin, -kMargin, kMargin, kMargin);
}

} // namespace

void RasteriseStroke(QPainter& painter, const ViewArc& arc)
{
    const QRectF bounds(static_cast<double>(arc.centre.x) - arc.radius,
        static_cast<double>(arc.centre.y) - arc.radius, 2.0 * arc.radius, 2.0 * arc.radius);
    painter.drawArc(bounds, qRound(static_cast<double>(arc.startDeg) * 16),
        qRound(static_cast<double>(arc.sweepDeg) * 16));
}

void RasteriseStroke(QPainter& painter, const ViewLine& line)
{
    painter.drawLine(QPoint(line.from.x, line.from.y), QPoint(line.to.x, line.to.y));
}

void StrokeCache::Draw(QPainter& painter, QImage& frame, const ViewArc& arc)
{
    if (arc.radius <= 0)
        return;
    const Key key {0, frame.width(), frame.height(), arc.centre.x, arc.centre.y, arc.radius, 0, arc.startDeg,
        arc.sweepDeg};
    DrawStroke(painter, frame, key, arc, Reach(arc));
}

void StrokeCache::Draw(QPainter& painter, QImage& frame, const ViewLine& line)
{
    const Key key {1, frame.width(), frame.height(), line.from.x, line.from.y, line.to.x, line.to.y, 0, 0};
    DrawStroke(painter, frame, key, line, Reach(line));
}

template <typename Item>
void StrokeCache::DrawStroke(
    QPainter& painter, QImage& frame, const Key& key, const Item& item, const QRect& reach)
{
    auto stroke = strokes_.find(key);
    if (stroke == strokes_.end()) {
        const auto seen = seen_.find(key);
        if (seen == seen_.end() || seen->second) {
            // New, or drawn twice in this frame: the painter draws it.
            seen_[key] = true;
            RasteriseStroke(painter, item);
            return;
        }
        seen_.erase(seen); // drawn in the frame before too: worth recording
        stroke = strokes_.emplace(key, Stroke {Record(frame, item, reach), true}).first;
    }
    stroke->second.used = true;
    const QRgb color = painter.pen().color().rgb();
    auto* pixels = reinterpret_cast<QRgb*>(frame.bits());
    for (const std::uint32_t offset : stroke->second.offsets) {
        pixels[offset] = color;
    }
}

template <typename Item>
std::vector<std::uint32_t> StrokeCache::Record(const QImage& frame, const Item& item, const QRect& reach)
{
    if (scratch_.size() != frame.size() || scratch_.format() != frame.format()) {
        scratch_ = QImage(frame.size(), frame.format());
        scratch_.fill(kScratchBackground);
    }
    {
        QPainter painter(&scratch_);
        painter.setPen(StrokePen(Qt::white));
        RasteriseStroke(painter, item);
    }
    std::vector<std::uint32_t> offsets;
    const QRect box = reach.intersected(scratch_.rect());
    const int stride = scratch_.bytesPerLine() / static_cast<int>(sizeof(QRgb));
    for (int y = box.top(); y <= box.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(scratch_.scanLine(y));
        for (int x = box.left(); x <= box.right(); ++x) {
            if (row[x] != kScratchBackground) {
                offsets.push_back(static_cast<std::uint32_t>(y) * static_cast<std::uint32_t>(stride)
                    + static_cast<std::uint32_t>(x));
                row[x] = kScratchBackground;
            }
        }
    }
    return offsets;
}

void StrokeCache::EndFrame()
{
    for (auto it = strokes_.begin(); it != strokes_.end();) {
        if (!it->second.used) {
            it = strokes_.erase(it);
        } else {
            it->second.used = false;
            ++it;
        }
    }
    for (auto it = seen_.begin(); it != seen_.end();) {
        if (!it->second) {
            it = seen_.erase(it);
        } else {
            it->second = false;
            ++it;
        }
    }
}

} // namespace velmaris
