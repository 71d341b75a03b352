#include "app/IconFactory.h"
#include "document/FrameLayout.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

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
    const QImage normal = CommandIcon(32806).pixmap(QSize(32, 32), QIcon::Normal).toImage();
    const QImage grey = CommandIcon(32806).pixmap(QSize(32, 32), QIcon::Disabled).toImage();
    ASSERT_NE(normal, grey);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb p = grey.pixel(x, y);
            if (qAlpha(p) == 255) {
                EXPECT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << x << "," << y;
            }
        }
}

} // namespace
} // namespace velmaris
