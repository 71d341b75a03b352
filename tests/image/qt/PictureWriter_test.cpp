#include "image/qt/PictureWriter.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace velmaris {
namespace {

// GIF goes through giflib, writing into a file the writer opened itself:
// indexed and true-colour pictures both read back, and the file is as
// readable as any other (0666 less the umask, not giflib's 0600).
TEST(PictureWriter, GifReadsBackAndIsCreatedReadableByAll)
{
    QTemporaryDir dir;
    ColorTable table {};
    for (int i = 0; i < 256; ++i)
        table[i] = {std::uint8_t(i), std::uint8_t(255 - i), 7};
    std::uint8_t indices[4 * 3] = {0, 1, 2, 3, 10, 11, 12, 13, 200, 201, 202, 203};
    QImage rgb(5, 4, QImage::Format_RGB32);
    rgb.fill(qRgb(250, 0, 0));
    const struct {
        const char* name;
        QImage image;
    } cases[] = {{"indexed.gif", IndexedPicture(indices, 3, 3, 4, table)}, {"rgb.gif", rgb}};

    const mode_t old = ::umask(022);
    for (const auto& c : cases) {
        const QString path = dir.filePath(c.name);
        EXPECT_EQ(WritePicture(c.image, path, PictureFormat::Gif), QString()) << c.name;
        struct stat st { };
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << c.name;
        EXPECT_EQ(st.st_mode & 0777, 0644u) << c.name;
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), QByteArray("gif")) << c.name;
        const QImage back = reader.read().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(back.size(), c.image.size()) << c.name;
        // Quantising keeps the top five bits of each channel.
        const QImage wrote = c.image.convertToFormat(QImage::Format_RGB32);
        for (const QPoint p : {QPoint(0, 0), QPoint(2, 1), QPoint(2, 2)}) {
            EXPECT_NEAR(qRed(back.pixel(p)), qRed(wrote.pixel(p)), 7) << c.name;
            EXPECT_NEAR(qGreen(back.pixel(p)), qGreen(wrote.pixel(p)), 7) << c.name;
            EXPECT_EQ(qBlue(back.pixel(p)), qBlue(wrote.pixel(p))) << c.name;
        }
    }
    ::umask(old);

    EXPECT_EQ(WritePicture(rgb, dir.filePath("missing/x.gif"), PictureFormat::Gif),
        QStringLiteral("cannot create %1").arg(dir.filePath("missing/x.gif")));
}

} // namespace
} // namespace velmaris
