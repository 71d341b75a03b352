#include "app/IconFactory.h"

#include "document/CommandIds.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>
#include <cmath>

namespace velmaris {

namespace {

// Every icon is drawn on a 24 x 24 grid.
constexpr qreal kGrid = 24.0;

struct Palette {
    QColor ink;
    QColor accent;
    QColor record;
    QColor fill; // light wash inside shapes
};

Palette PaletteFor(QIcon::Mode mode)
{
    if (mode == QIcon::Disabled)
        return {
            QColor(0x9e, 0x9e, 0x9e), QColor(0xb8, 0xb8, 0xb8), QColor(0xb8, 0xb8, 0xb8), QColor(0, 0, 0, 0)};
    return {QColor(0x26, 0x32, 0x38), QColor(0x00, 0x89, 0x7b), QColor(0xd3, 0x2f, 0x2f),
        QColor(0x00, 0x89, 0x7b, 60)};
}

class Pen {
public:
    Pen(QPainter& p, const Palette& c)
        : m_p(p)
        , m_c(c)
    { }
    void Stroke(const QColor& color, qreal width = 2.0)
    {
        m_p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        m_p.setBrush(Qt::NoBrush);
    }
    void Fill(const QColor& color)
    {
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(color);
    }
    QPainter& p() { return m_p; }
    const Palette& c() const { return m_c; }

private:
    QPainter& m_p;
    const Palette& m_c;
};

void Arrow(Pen& pen, QPointF from, QPointF to, const QColor& color)
{
    pen.Stroke(color);
    pen.p().drawLine(from, to);
    const qreal dx = to.x() - from.x();
    const qreal dy = to.y() - from.y();
    const qreal length = std::hypot(dx, dy);
    const QPointF along(dx / length * 4.0, dy / length * 4.0);
    const QPointF across(-along.y() * 0.8, along.x() * 0.8);
    pen.p().drawPolyline(std::array {to - along + across, to, to - along - across}.data(), 3);
}

void Magnifier(Pen& pen, bool plus)
{
    pen.Stroke(pen.c().ink);
    pen.p().drawEllipse(QPointF(10, 10), 6.5, 6.5);
    pen.Stroke(pen.c().ink, 3.0);
    pen.p().drawLine(QPointF(15, 15), QPointF(20.5, 20.5));
    pen.Stroke(pen.c().accent);
    pen.p().drawLine(QPointF(7, 10), QPointF(13, 10));
    if (plus)
        pen.p().drawLine(QPointF(10, 7), QPointF(10, 13));
}

void Draw(int id, Pen& pen)
{
    QPainter& p = pen.p();
    const Palette& c = pen.c();
    switch (id) {
    case cmd::kConnect: { // plug with its cable
        pen.Fill(c.fill);
        p.drawRoundedRect(QRectF(9, 7, 8, 9), 1.5, 1.5);
        pen.Stroke(c.ink);
        p.drawRoundedRect(QRectF(9, 7, 8, 9), 1.5, 1.5);
        p.drawLine(QPointF(9, 9.5), QPointF(4, 9.5));
        p.drawLine(QPointF(9, 13.5), QPointF(4, 13.5));
        pen.Stroke(c.accent);
        QPainterPath cable(QPointF(17, 11.5));
        cable.quadTo(QPointF(21, 11.5), QPointF(21, 15.5));
        cable.lineTo(QPointF(21, 21));
        p.drawPath(cable);
        break;
    }
    case cmd::kOpenPlayback: { // folder with a play mark
        QPainterPath folder(QPointF(3, 6));
        folder.lineTo(9, 6);
        folder.lineTo(11, 8.5);
        folder.lineTo(21, 8.5);
        folder.lineTo(21, 19);
        folder.lineTo(3, 19);
        folder.closeSubpath();
        pen.Stroke(c.ink);
        p.drawPath(folder);
        pen.Fill(c.accent);
        p.drawPolygon(std::array {QPointF(10, 10.5), QPointF(10, 17), QPointF(15.5, 13.75)}.data(), 3);
        break;
    }
    case cmd::kRecord:
        pen.Stroke(c.ink);
        p.drawEllipse(QPointF(12, 12), 8.5, 8.5);
        pen.Fill(c.record);
        p.drawEllipse(QPointF(12, 12), 5, 5);
        break;
    case cmd::kModePolar: // full circle of range rings with a sweep
        pen.Fill(c.fill);
        p.drawEllipse(QPointF(12, 12), 9, 9);
        pen.Stroke(c.ink);
        p.drawEllipse(QPointF(12, 12), 9, 9);
        pen.Stroke(c.ink, 1.0);
        p.drawEllipse(QPointF(12, 12), 4.5, 4.5);
        p.drawLine(QPointF(12, 3), QPointF(12, 21));
        p.drawLine(QPointF(3, 12), QPointF(21, 12));
        pen.Stroke(c.accent);
        p.drawLine(QPointF(12, 12), QPointF(18.4, 5.6));
        break;
    case cmd::kModeSector: { // fan opening upwards from the head
        const QRectF outer(12 - 15, 20 - 15, 30, 30);
        QPainterPath fan(QPointF(12, 20));
        fan.arcTo(outer, 50, 80);
        fan.closeSubpath();
        pen.Fill(c.fill);
        p.drawPath(fan);
        pen.Stroke(c.ink);
        p.drawPath(fan);
        pen.Stroke(c.accent, 1.5);
        QPainterPath ring;
        ring.arcMoveTo(QRectF(12 - 8.5, 20 - 8.5, 17, 17), 50);
        ring.arcTo(QRectF(12 - 8.5, 20 - 8.5, 17, 17), 50, 80);
        p.drawPath(ring);
        break;
    }
    case cmd::kModeSideScan: { // track line with echoes to both sides
        pen.Stroke(c.ink);
        p.drawLine(QPointF(12, 3), QPointF(12, 21));
        pen.Stroke(c.accent);
        constexpr std::array<std::array<qreal, 3>, 4> rows {{{5, 6, 7}, {9, 8, 5}, {13, 5, 8}, {17, 7, 6}}};
        for (const auto& row : rows) {
            p.drawLine(QPointF(10, row[0]), QPointF(10 - row[1], row[0]));
            p.drawLine(QPointF(14, row[0]), QPointF(14 + row[2], row[0]));
        }
        break;
    }
    case cmd::kHold:
        pen.Fill(c.ink);
        p.drawRoundedRect(QRectF(6.5, 5, 4, 14), 1, 1);
        p.drawRoundedRect(QRectF(13.5, 5, 4, 14), 1, 1);
        break;
    case cmd::kReverse:
        Arrow(pen, QPointF(4, 8), QPointF(20, 8), c.ink);
        Arrow(pen, QPointF(20, 16), QPointF(4, 16), c.accent);
        break;
    case cmd::kClearScreen: // screen with a cross
        pen.Stroke(c.ink);
        p.drawRoundedRect(QRectF(3, 4, 18, 13), 1.5, 1.5);
        p.drawLine(QPointF(8.5, 20.5), QPointF(15.5, 20.5));
        pen.Stroke(c.accent);
        p.drawLine(QPointF(9, 7.5), QPointF(15, 13.5));
        p.drawLine(QPointF(15, 7.5), QPointF(9, 13.5));
        break;
    case cmd::kRedraw: { // frame corners around a centred target
        pen.Stroke(c.ink);
        const std::array<std::array<QPointF, 3>, 4> corners {{
            {QPointF(4, 9), QPointF(4, 4), QPointF(9, 4)},
            {QPointF(15, 4), QPointF(20, 4), QPointF(20, 9)},
            {QPointF(20, 15), QPointF(20, 20), QPointF(15, 20)},
            {QPointF(9, 20), QPointF(4, 20), QPointF(4, 15)},
        }};
        for (const auto& corner : corners)
            p.drawPolyline(corner.data(), 3);
        pen.Stroke(c.accent);
        p.drawEllipse(QPointF(12, 12), 3, 3);
        p.drawLine(QPointF(12, 7), QPointF(12, 8.5));
        p.drawLine(QPointF(12, 15.5), QPointF(12, 17));
        p.drawLine(QPointF(7, 12), QPointF(8.5, 12));
        p.drawLine(QPointF(15.5, 12), QPointF(17, 12));
        break;
    }
    case cmd::kZoomIn:
        Magnifier(pen, true);
        break;
    case cmd::kZoomOut:
        Magnifier(pen, false);
        break;
    case cmd::kMeasureTarget: { // ruler laid diagonally
        const std::array body {
            QPointF(2.5, 16.5), QPointF(16.5, 2.5), QPointF(21.5, 7.5), QPointF(7.5, 21.5)};
        pen.Fill(c.fill);
        p.drawPolygon(body.data(), 4);
        pen.Stroke(c.ink);
        p.drawPolygon(body.data(), 4);
        pen.Stroke(c.accent, 1.5);
        for (int t = 1; t <= 6; ++t) {
            const QPointF edge(2.5 + 2.0 * t, 16.5 - 2.0 * t);
            const qreal depth = (t % 2 == 0) ? 3.2 : 2.0;
            p.drawLine(edge, edge + QPointF(depth * 0.7071, depth * 0.7071));
        }
        break;
    }
    case cmd::kShowSonarSettings: { // three sliders
        pen.Stroke(c.ink);
        constexpr std::array<std::array<qreal, 2>, 3> sliders {{{6, 15}, {12, 8}, {18, 13}}};
        for (const auto& s : sliders)
            p.drawLine(QPointF(4, s[0]), QPointF(20, s[0]));
        for (const auto& s : sliders) {
            pen.Fill(c.accent);
            p.drawEllipse(QPointF(s[1], s[0]), 2.5, 2.5);
        }
        break;
    }
    case cmd::kDiagnostics: { // trace in a scope window
        pen.Stroke(c.ink);
        p.drawRoundedRect(QRectF(3, 4, 18, 16), 1.5, 1.5);
        pen.Stroke(c.accent);
        const std::array trace {QPointF(5.5, 13), QPointF(8, 13), QPointF(10, 8), QPointF(13, 17),
            QPointF(15, 11), QPointF(16.5, 13), QPointF(18.5, 13)};
        p.drawPolyline(trace.data(), static_cast<int>(trace.size()));
        break;
    }
    case cmd::kHelp: {
        pen.Stroke(c.ink);
        p.drawEllipse(QPointF(12, 12), 9, 9);
        pen.Stroke(c.accent);
        QPainterPath mark(QPointF(9.2, 9.6));
        mark.cubicTo(QPointF(9.2, 6.2), QPointF(14.8, 6.2), QPointF(14.8, 9.6));
        mark.cubicTo(QPointF(14.8, 11.8), QPointF(12, 11.8), QPointF(12, 14.2));
        p.drawPath(mark);
        pen.Fill(c.accent);
        p.drawEllipse(QPointF(12, 17.3), 1.3, 1.3);
        break;
    }
    default:
        break;
    }
}

constexpr std::array kIconIds {cmd::kConnect, cmd::kOpenPlayback, cmd::kRecord, cmd::kModePolar,
    cmd::kModeSector, cmd::kModeSideScan, cmd::kHold, cmd::kReverse, cmd::kClearScreen, cmd::kRedraw,
    cmd::kZoomIn, cmd::kZoomOut, cmd::kMeasureTarget, cmd::kShowSonarSettings, cmd::kDiagnostics, cmd::kHelp};

class CommandIconEngine : public QIconEngine {
public:
    explicit CommandIconEngine(int id)
        : m_id(id)
    { }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        const qreal side = std::min(rect.width(), rect.height());
        if (side <= 0)
            return;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->translate(rect.x() + (rect.width() - side) / 2.0, rect.y() + (rect.height() - side) / 2.0);
        painter->scale(side / kGrid, side / kGrid);
        const Palette palette = PaletteFor(mode);
        Pen pen(*painter, palette);
        Draw(m_id, pen);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine* clone() const override { return new CommandIconEngine(m_id); }
    QString key() const override { return QStringLiteral("velmaris.command"); }

private:
    int m_id;
};

} // namespace

bool HasCommandIcon(int commandId)
{
    return std::find(kIconIds.begin(), kIconIds.end(), commandId) != kIconIds.end();
}

QIcon CommandIcon(int commandId)
{
    if (!HasCommandIcon(commandId))
        return QIcon();
    return QIcon(new CommandIconEngine(commandId));
}

} // namespace velmaris
