#pragma once
// Writes pictures: BMP, JPEG, PNG and TIFF through Qt's image writer, GIF
// through giflib. The station's Save Screen and `velmaris-tool render` both
// use it. Any thread that owns the image; no shared state.

#include "image/PictureFormat.h"
#include "image/SonarBitmap.h"

#include <QImage>
#include <QString>

namespace velmaris {

// The indexed image (w x h colour indices, rows `stride` bytes apart) through
// a colour table, as an 8-bit indexed QImage sharing nothing with `indices`.
QImage IndexedPicture(const std::uint8_t* indices, int w, int h, int stride, const ColorTable& table);

// Writes `image` to `path` in `format`. An indexed image goes to GIF with its
// palette as it is; any other image is quantised to 256 colours. Returns an
// empty string on success, otherwise a message naming the failure.
QString WritePicture(const QImage& image, const QString& path, PictureFormat format);

} // namespace velmaris
