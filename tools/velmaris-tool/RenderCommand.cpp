// velmaris-tool render FILE --out PATH [--ini INI] [--raw] [--crop X,Y,W,H]: plays every record
// of a data file once, in order, as playback does, and writes the raster;
// with --animate OUT the playback frame by frame as an animated GIF or MP4.

#include "Animation.h"
#include "Subcommand.h"
#include "ToolDocument.h"

#include "files/PlaybackDecode.h"
#include "image/PictureFormat.h"
#include "image/qt/PictureWriter.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace velmaris::tool {
namespace {

bool WritePgm(const ImageRaster& raster, const Crop& crop, const std::string& path)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return false;
    bool ok = std::fprintf(out, "P5\n%d %d\n255\n", crop.w, crop.h) > 0;
    for (int r = crop.y; ok && r < crop.y + crop.h; ++r)
        ok = std::fwrite(raster.Row(r) + crop.x, 1, std::size_t(crop.w), out) == std::size_t(crop.w);
    return std::fclose(out) == 0 && ok;
}

bool WriteColouredPicture(
    const SonarState& state, const Crop& crop, const std::string& path, PictureFormat format)
{
    std::vector<std::uint8_t> indices(std::size_t(crop.w) * crop.h);
    state.raster.CopyRect(crop.x, crop.y, crop.w, crop.h, indices.data(), std::size_t(crop.w));
    const QImage image = IndexedPicture(
        indices.data(), crop.w, crop.h, crop.w, state.colors.Table(state.settings.colorTable));
    const QString error = WritePicture(image, QString::fromStdString(path), format);
    if (!error.isEmpty())
        std::fprintf(stderr, "velmaris-tool render: %s\n", error.toLocal8Bit().constData());
    return error.isEmpty();
}

void PlayWholeFile(DataFile& file, SonarType fileType, ToolDocument& doc)
{
    SonarState& state = *doc.state;
    ResetScanHistory(state.history, state.ping);
    WalkRecords(
        file, fileType,
        [&](const RecordFrame& frame) {
            if (DecodePlaybackRecord(state, frame).valid)
                PaintCurrentPing(state);
        },
        [](std::int64_t offset, const RecordFrame& frame) { ReportDamage("render", offset, frame); });
}

} // namespace

int Run(const RenderRequest& request)
{
    if (!request.animate.empty())
        return RunAnimation(request.animation);
    ToolDocument doc;
    DataFile file;
    SonarType fileType = SonarType::SerialK52A;
    if (!doc.Open(request.ini, request.file, file, fileType))
        return kExitFailure;
    PlayWholeFile(file, fileType, doc);

    const bool written = request.raw
        ? WritePgm(doc.state->raster, request.crop, request.out)
        : WriteColouredPicture(*doc.state, request.crop, request.out, *request.format);
    if (!written) {
        std::fprintf(stderr, "velmaris-tool render: cannot write %s\n", request.out.c_str());
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace velmaris::tool
