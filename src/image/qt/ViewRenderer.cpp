#include "image/qt/ViewRenderer.h"

#include "image/ViewInteraction.h"

#include <QFontMetricsF>
#include <QPainter>

#include "image/RasterBlit.h"
#include "image/SectorClip.h"
#include "image/SonarState.h"
#include "image/ViewSource.h"
#include "image/qt/StrokeCache.h"

namespace velmaris {

namespace {

QColor ToQColor(const Rgb& c)
{
    return QColor(c.red, c.green, c.blue);
}

struct SceneDrawer {
    QPainter& painter;
    QImage* frame = nullptr; // with strokes: the painter's device
    StrokeCache* strokes = nullptr;
    QFont fontA = ViewFontFor(ViewFont::A);
    QFont fontB = ViewFontFor(ViewFont::B);

    void SetPen(const Rgb& color)
    {
        // A cosmetic 1-pixel pen takes the painter's thin-line path, far
        // cheaper for the rings than the general stroker.
        QPen pen(ToQColor(color), 1, Qt::SolidLine);
        pen.setCosmetic(true);
        painter.setPen(pen);
    }

    template <typename Stroke>
    void DrawStroke(const Stroke& stroke)
    {
        SetPen(stroke.color);
        if (strokes != nullptr) {
            strokes->Draw(painter, *frame, stroke);
        } else {
            RasteriseStroke(painter, stroke);
        }
    }

    void operator()(const ViewLine& line) { DrawStroke(line); }
    void operator()(const ViewArc& arc)
    {
        if (arc.radius > 0)
            DrawStroke(arc);
    }
    void operator()(const ViewText& text)
    {
        painter.setFont(text.font == ViewFont::A ? fontA : fontB);
        const QFontMetrics metrics = painter.fontMetrics();
        const QString string = QString::fromStdString(text.text);
        painter.fillRect(QRect(text.x, text.y, metrics.horizontalAdvance(string), metrics.height()),
            ToQColor(text.background));
        painter.setPen(ToQColor(text.color));
        painter.drawText(QPoint(text.x, text.y + metrics.ascent()), string);
    }
    void operator()(const ViewBox& box)
    {
        // The 2-pixel frame is what of the outer rectangle the red inside leaves.
        painter.fillRect(QRect(QPoint(box.left, box.top), QPoint(box.right - 1, box.bottom - 1)),
            ToQColor(kStatusBoxTextColor));
        painter.fillRect(
            QRect(QPoint(box.fillLeft, box.fillTop), QPoint(box.fillRight - 1, box.fillBottom - 1)),
            ToQColor(kStatusBoxFillColor));
    }
};

FrameBuffer FrameOf(QImage& frame)
{
    return {reinterpret_cast<std::uint32_t*>(frame.bits()), frame.width(), frame.height(),
        static_cast<std::size_t>(frame.bytesPerLine()) / sizeof(std::uint32_t)};
}

} // namespace

QFont ViewFontFor(ViewFont font)
{
    // The height is the text cell's (ascent plus descent), as the texts were
    // laid out for: an "Arial" cell of 24 pixels has an em of about 21.
    const double cell = font == ViewFont::A ? 24.0 : 20.0;
    QFont f(QStringLiteral("Arial"));
    f.setWeight(QFont::Normal);
    f.setPixelSize(100);
    const QFontMetricsF probe(f);
    const double probeCell = probe.ascent() + probe.descent();
    f.setPixelSize(probeCell > 0 ? qMax(1, qRound(cell * 100 / probeCell)) : static_cast<int>(cell));
    return f;
}

void DrawViewScene(QPainter& painter, const ViewScene& scene)
{
    SceneDrawer drawer {painter};
    for (const ViewItem& item : scene) {
        std::visit(drawer, item);
    }
}

namespace {

// Both public forms; strokes may be null (every stroke rasterised).
void RenderFrame(QImage& frame, ViewSource& source, ViewInteraction& view, StrokeCache* strokes)
{
    if (frame.isNull()
        || (frame.format() != QImage::Format_RGB32 && frame.format() != QImage::Format_ARGB32)) {
        return;
    }
    ServeViewRequests(source.TakeRequests(), view);
    const SonarState& state = source.State();
    const ViewStatus status = source.Status();
    const SonarSettings& settings = state.settings;

    const ViewGeometry geo = ComputeViewGeometry(
        frame.width(), frame.height(), settings.zoom, settings.sectorMode, view.panX, view.panY);
    const PixelLut lut = MakePixelLut(state.colors.Table(settings.colorTable));
    const FrameBuffer buffer = FrameOf(frame);
    ComposeRasterFrame(
        state.raster, lut, geo.rasterLeft, geo.rasterTop, MakeViewClip(geo, settings, state.command), buffer);

    const ViewScene scene = BuildViewScene(state, status, view, geo);
    {
        QPainter painter(&frame);
        SceneDrawer drawer {painter, &frame, strokes};
        for (const ViewItem& item : scene) {
            std::visit(drawer, item);
        }
    }
    if (strokes != nullptr)
        strokes->EndFrame();
    if (status.colorIndicator)
        DrawIndicatorBar(lut, FrameOf(frame));
}

} // namespace

void RenderViewFrame(QImage& frame, ViewSource& source, ViewInteraction& view)
{
    RenderFrame(frame, source, view, nullptr);
}

void RenderViewFrame(QImage& frame, ViewSource& source, ViewInteraction& view, StrokeCache& strokes)
{
    RenderFrame(frame, source, view, &strokes);
}

} // namespace velmaris
