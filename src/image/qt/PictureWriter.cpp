#include "image/qt/PictureWriter.h"

#include <QFile>
#include <QImageWriter>

#include <gif_lib.h>

#include <cstring>
#include <vector>

namespace velmaris {

namespace {

const char* QtFormatName(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Bmp:
        return "bmp";
    case PictureFormat::Jpeg:
        return "jpeg";
    case PictureFormat::Tiff:
        return "tiff";
    case PictureFormat::Png:
        return "png";
    case PictureFormat::Gif:
        break;
    }
    return "";
}

struct GifPixels {
    std::vector<GifByteType> indices;
    std::vector<GifColorType> colors;
};

GifPixels FromIndexed(const QImage& image)
{
    GifPixels px;
    px.colors.resize(256);
    const auto table = image.colorTable();
    for (int i = 0; i < 256 && i < table.size(); ++i)
        px.colors[i] = GifColorType {static_cast<GifByteType>(qRed(table[i])),
            static_cast<GifByteType>(qGreen(table[i])), static_cast<GifByteType>(qBlue(table[i]))};
    px.indices.resize(static_cast<std::size_t>(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(
            px.indices.data() + static_cast<std::size_t>(y) * image.width(), image.constScanLine(y), image.width());
    return px;
}

bool Quantise(const QImage& source, GifPixels& px)
{
    const QImage rgb = source.convertToFormat(QImage::Format_RGB888);
    const std::size_t n = static_cast<std::size_t>(rgb.width()) * rgb.height();
    std::vector<GifByteType> r(n), g(n), b(n);
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* line = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * rgb.width() + x;
            r[i] = line[3 * x];
            g[i] = line[3 * x + 1];
            b[i] = line[3 * x + 2];
        }
    }
    int size = 256;
    px.colors.assign(256, GifColorType {0, 0, 0});
    px.indices.resize(n);
    return GifQuantizeBuffer(static_cast<unsigned>(rgb.width()), static_cast<unsigned>(rgb.height()), &size, r.data(), g.data(),
               b.data(), px.indices.data(), px.colors.data())
        == GIF_OK;
}

// giflib's output callback; a short count makes giflib report the error.
int WriteToFile(GifFileType* gif, const GifByteType* bytes, int count)
{
    auto* file = static_cast<QFile*>(gif->UserData);
    const qint64 written = file->write(reinterpret_cast<const char*>(bytes), count);
    return written < 0 ? 0 : static_cast<int>(written);
}

QString WriteGif(const QImage& image, const QString& path)
{
    GifPixels px;
    if (image.format() == QImage::Format_Indexed8)
        px = FromIndexed(image);
    else if (!Quantise(image, px))
        return QStringLiteral("cannot reduce the picture to 256 colours");

    // giflib's own file opening would create the file 0600 and takes a
    // POSIX descriptor; QFile creates it as readable as any file (0666 less
    // the umask) on every platform, and giflib writes through it.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QStringLiteral("cannot create %1").arg(path);
    int error = 0;
    GifFileType* gif = EGifOpen(&file, WriteToFile, &error);
    if (gif == nullptr)
        return QStringLiteral("cannot write %1").arg(path);
    ColorMapObject* map = GifMakeMapObject(256, px.colors.data());
    bool ok = map != nullptr && EGifPutScreenDesc(gif, image.width(), image.height(), 8, 0, map) == GIF_OK
        && EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < image.height(); ++y)
        ok = EGifPutLine(gif, px.indices.data() + static_cast<std::size_t>(y) * image.width(), image.width()) == GIF_OK;
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    if (map != nullptr)
        GifFreeMapObject(map);
    ok = file.flush() && ok;
    file.close();
    return ok ? QString() : QStringLiteral("cannot write %1").arg(path);
}

} // namespace

QImage IndexedPicture(const std::uint8_t* indices, int w, int h, int stride, const ColorTable& table)
{
    QImage image(w, h, QImage::Format_Indexed8);
    QList<QRgb> colors(256);
    for (int i = 0; i < 256; ++i)
        colors[i] = qRgb(table[i].red, table[i].green, table[i].blue);
    image.setColorTable(colors);
    for (int y = 0; y < h; ++y)
        std::memcpy(image.scanLine(y), indices + static_cast<std::size_t>(y) * stride, static_cast<std::size_t>(w));
    return image;
}

QString WritePicture(const QImage& image, const QString& path, PictureFormat format)
{
    if (image.isNull())
        return QStringLiteral("there is no picture to write");
    if (format == PictureFormat::Gif)
        return WriteGif(image, path);
    QImageWriter writer(path, QtFormatName(format));
    if (format == PictureFormat::Jpeg)
        writer.setQuality(90);
    if (writer.write(image))
        return QString();
    return QStringLiteral("cannot write %1: %2").arg(path, writer.errorString());
}

} // namespace velmaris
