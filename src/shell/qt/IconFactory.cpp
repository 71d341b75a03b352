#include "shell/qt/IconFactory.h"

#include "station/CommandIds.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <algorithm>
#include <array>
#include <mutex>

// The resources live in a static library: nothing else references their
// object file, so they are registered by hand before the first look-up.
// Q_INIT_RESOURCE has to be used outside any namespace.
static void RegisterIconResources()
{
    Q_INIT_RESOURCE(velmaris);
}

namespace velmaris {

namespace {

struct IconFile {
    int id;
    const char* name;
};

constexpr std::array<IconFile, 16> kIconFiles {{
    {cmd::kConnect, "connect"},
    {cmd::kOpenPlayback, "open-file"},
    {cmd::kRecord, "record"},
    {cmd::kModePolar, "polar"},
    {cmd::kModeSector, "sector"},
    {cmd::kModeSideScan, "sidescan"},
    {cmd::kHold, "hold"},
    {cmd::kReverse, "reverse"},
    {cmd::kClearScreen, "clear"},
    {cmd::kRedraw, "redraw"},
    {cmd::kZoomIn, "zoom-in"},
    {cmd::kZoomOut, "zoom-out"},
    {cmd::kMeasureTarget, "measure"},
    {cmd::kShowSonarSettings, "settings"},
    {cmd::kDiagnostics, "diagnostics"},
    {cmd::kHelp, "help"},
}};

const IconFile* FindIcon(int commandId)
{
    const auto it = std::find_if(
        kIconFiles.begin(), kIconFiles.end(), [commandId](const IconFile& f) { return f.id == commandId; });
    return it == kIconFiles.end() ? nullptr : &*it;
}

// Disabled look: every covered pixel becomes a light grey that keeps a little
// of the original's lightness (dark ink stays the darkest grey), coverage
// (alpha) unchanged so the edges stay smooth.
void GreyOut(QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int grey = 150 + qGray(p) / 4;
            line[x] = qRgba(grey, grey, grey, qAlpha(p));
        }
    }
}

class SvgCommandIconEngine : public QIconEngine {
public:
    explicit SvgCommandIconEngine(const QString& resource)
        : resource_(resource)
        , renderer_(resource)
    { }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        if (rect.isEmpty())
            return;
        const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        QImage image = Render(rect.size() * ratio, mode);
        image.setDevicePixelRatio(ratio);
        painter->drawImage(rect.topLeft(), image);
    }

    // Cached per resource, size and mode: the toolbar asks again on every repaint.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        if (size.isEmpty())
            return QPixmap();
        const QString key = QStringLiteral("velmaris:%1:%2x%3:%4")
                                .arg(resource_)
                                .arg(size.width())
                                .arg(size.height())
                                .arg(mode == QIcon::Disabled ? 1 : 0);
        QPixmap cached;
        if (QPixmapCache::find(key, &cached))
            return cached;
        cached = QPixmap::fromImage(Render(size, mode));
        QPixmapCache::insert(key, cached);
        return cached;
    }

    QIconEngine* clone() const override { return new SvgCommandIconEngine(resource_); }
    QString key() const override { return QStringLiteral("velmaris.svgcommand"); }
    bool isNull() override { return !renderer_.isValid(); }

private:
    // The artwork is square: a non-square request gets it centred at the
    // shorter side's size rather than stretched.
    QImage Render(const QSize& size, QIcon::Mode mode)
    {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        const qreal side = std::min(size.width(), size.height());
        if (side <= 0 || !renderer_.isValid())
            return image;
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing, true);
            renderer_.render(
                &painter, QRectF((size.width() - side) / 2.0, (size.height() - side) / 2.0, side, side));
        }
        if (mode == QIcon::Disabled)
            GreyOut(image);
        return image;
    }

    QString resource_;
    QSvgRenderer renderer_;
};

} // namespace

bool HasCommandIcon(int commandId)
{
    return FindIcon(commandId) != nullptr;
}

QString CommandIconResource(int commandId)
{
    static std::once_flag registered;
    std::call_once(registered, RegisterIconResources);
    const IconFile* file = FindIcon(commandId);
    return file == nullptr ? QString() : QStringLiteral(":/icons/%1.svg").arg(QLatin1String(file->name));
}

QIcon CommandIcon(int commandId)
{
    const QString resource = CommandIconResource(commandId);
    if (resource.isEmpty())
        return QIcon();
    return QIcon(new SvgCommandIconEngine(resource));
}

} // namespace velmaris
