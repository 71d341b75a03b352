#include "shell/FrameLayout.h"
#include "shell/qt/IconFactory.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <set>

namespace velmaris {
namespace {

// Share of pixels with any coverage.
double Coverage(const QImage& image)
{
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return static_cast<double>(painted) / (image.width() * image.height());
}

TEST(IconFactory, EveryToolbarButtonHasDistinctLegibleArtwork)
{
    std::vector<QImage> images;
    for (const ToolbarButton& button : ToolbarButtons()) {
        ASSERT_TRUE(HasCommandIcon(button.id)) << button.id;
        const QImage image = CommandIcon(button.id).pixmap(QSize(24, 24)).toImage();
        ASSERT_EQ(image.size(), QSize(24, 24));
        const double coverage = Coverage(image);
        // Something is drawn, and it is not a filled square.
        EXPECT_GT(coverage, 0.08) << button.id;
        EXPECT_LT(coverage, 0.85) << button.id;
        for (std::size_t other = 0; other < images.size(); ++other)
            EXPECT_NE(image, images[other]) << button.id << " looks like button " << other + 1;
        images.push_back(image);
    }
    EXPECT_FALSE(HasCommandIcon(32791 + 1));
    EXPECT_TRUE(CommandIcon(32792).isNull());
}

TEST(IconFactory, DrawnAtTheRequestedResolution)
{
    const QIcon icon = CommandIcon(32822);
    const QPixmap sharp = icon.pixmap(QSize(24, 24), 2.0);
    EXPECT_EQ(sharp.size(), QSize(48, 48)); // device pixels
    EXPECT_DOUBLE_EQ(sharp.devicePixelRatio(), 2.0);
    // Drawn afresh, not blown up: the 48 px picture has detail the scaled
    // 24 px one lacks.
    const QImage big = icon.pixmap(QSize(48, 48)).toImage();
    const QImage blown = icon.pixmap(QSize(24, 24)).scaled(48, 48).toImage();
    EXPECT_NE(big, blown);
    EXPECT_EQ(icon.pixmap(QSize(32, 29)).size(), QSize(32, 29));
}

TEST(IconFactory, DisabledLookIsGrey)
{
    for (const ToolbarButton& button : ToolbarButtons()) {
        const QImage normal = CommandIcon(button.id).pixmap(QSize(32, 32), QIcon::Normal).toImage();
        const QImage grey = CommandIcon(button.id).pixmap(QSize(32, 32), QIcon::Disabled).toImage();
        ASSERT_NE(normal, grey) << button.id;
        int coloured = 0;
        int light = 0;
        int opaque = 0;
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x) {
                const QRgb p = grey.pixel(x, y);
                coloured += qRed(p) != qGreen(p) || qGreen(p) != qBlue(p) ? 1 : 0;
                if (qAlpha(p) == 255) {
                    ++opaque;
                    light += qRed(p) >= 140 ? 1 : 0;
                }
            }
        EXPECT_EQ(coloured, 0) << button.id;
        // Light enough to read as unavailable next to the dark ink.
        EXPECT_GT(opaque, 0) << button.id;
        EXPECT_EQ(light, opaque) << button.id;
    }
}

TEST(IconFactory, EveryToolbarButtonHasAValidSvgThatRendersAtEverySize)
{
    std::set<QString> resources;
    for (const ToolbarButton& button : ToolbarButtons()) {
        const QString resource = CommandIconResource(button.id);
        ASSERT_TRUE(
            resource.startsWith(QStringLiteral(":/icons/")) && resource.endsWith(QStringLiteral(".svg")))
            << button.id;
        EXPECT_TRUE(resources.insert(resource).second) << button.id << " shares " << resource.toStdString();

        QSvgRenderer renderer(resource);
        ASSERT_TRUE(renderer.isValid()) << resource.toStdString();
        EXPECT_EQ(renderer.viewBoxF(), QRectF(0, 0, 24, 24)) << resource.toStdString();
        for (const int side : {16, 32, 64}) {
            QImage direct(side, side, QImage::Format_ARGB32_Premultiplied);
            direct.fill(Qt::transparent);
            QPainter painter(&direct);
            renderer.render(&painter);
            painter.end();
            EXPECT_GT(Coverage(direct), 0.05) << resource.toStdString() << " at " << side;

            const QImage viaIcon = CommandIcon(button.id).pixmap(QSize(side, side)).toImage();
            ASSERT_EQ(viaIcon.size(), QSize(side, side));
            EXPECT_GT(Coverage(viaIcon), 0.05) << resource.toStdString() << " at " << side;
        }
        const QPixmap sharp = CommandIcon(button.id).pixmap(QSize(32, 32), 2.0);
        ASSERT_EQ(sharp.size(), QSize(64, 64)) << resource.toStdString();
        EXPECT_DOUBLE_EQ(sharp.devicePixelRatio(), 2.0);
        EXPECT_GT(Coverage(sharp.toImage()), 0.05) << resource.toStdString();
    }
    // No artwork in the resources that no button uses.
    EXPECT_EQ(QDir(QStringLiteral(":/icons")).entryList().size(), static_cast<int>(resources.size()));
    EXPECT_TRUE(CommandIconResource(32792).isEmpty());
}

TEST(IconFactory, PaintsIntoAHighDpiPainterAtDevicePixels)
{
    // QIcon::paint on a 2x surface goes through the engine's paint(): the
    // artwork must fill the rectangle at device resolution, not a blown-up
    // 1x picture.
    QImage surface(64, 64, QImage::Format_ARGB32_Premultiplied);
    surface.setDevicePixelRatio(2.0);
    surface.fill(Qt::transparent);
    QPainter painter(&surface);
    CommandIcon(32822).paint(&painter, QRect(0, 0, 32, 32));
    painter.end();
    surface.setDevicePixelRatio(1.0);
    EXPECT_EQ(surface, CommandIcon(32822).pixmap(QSize(64, 64)).toImage().convertToFormat(surface.format()));
}

} // namespace
} // namespace velmaris
