// velmaris-tool render FILE --out PATH [--ini INI] [--raw]: plays every record
// of a data file once, in order, as playback does, and writes the raster.

#include "Options.h"
#include "Subcommand.h"
#include "ToolDocument.h"

#include "document/PlaybackDecode.h"
#include "image/PictureFormat.h"
#include "image/qt/PictureWriter.h"

#include <cstdio>
#include <vector>

namespace velmaris::tool {
namespace {

constexpr const char* kUsage
    = "usage: velmaris-tool render FILE --out PATH [--ini INI] [--raw]\n"
      "  plays FILE once and writes the image: --raw as a binary PGM of the colour indices,\n"
      "  otherwise a picture through the selected colour table (png, bmp, jpg, gif, tif)\n";

bool WritePgm(const ImageRaster& raster, const std::string& path)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return false;
    bool ok = std::fprintf(out, "P5\n%d %d\n255\n", ImageRaster::kWidth, ImageRaster::kHeight) > 0;
    for (int r = 0; ok && r < ImageRaster::kHeight; ++r)
        ok = std::fwrite(raster.Row(r), 1, ImageRaster::kWidth, out) == std::size_t(ImageRaster::kWidth);
    return std::fclose(out) == 0 && ok;
}

bool WriteColouredPicture(const SonarState& state, const std::string& path, PictureFormat format)
{
    std::vector<std::uint8_t> indices(ImageRaster::kBytes);
    state.raster.CopyAll(indices.data());
    const QImage image = IndexedPicture(indices.data(), ImageRaster::kWidth, ImageRaster::kHeight,
        ImageRaster::kWidth, state.colors.Table(state.settings.colorTable));
    const QString error = WritePicture(image, QString::fromStdString(path), format);
    if (!error.isEmpty())
        std::fprintf(stderr, "velmaris-tool render: %s\n", error.toLocal8Bit().constData());
    return error.isEmpty();
}

void PlayWholeFile(DataFile& file, int fileType, ToolDocument& doc)
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

int RunRender(const std::vector<std::string>& args)
{
    const ParsedOptions options = ParseOptions(args, {"--out", "--ini"}, {"--raw", "--help"});
    if (options.Has("--help")) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    const auto out = options.Value("--out");
    std::string problem = options.error;
    if (problem.empty() && options.positional.size() != 1)
        problem = "expected exactly one FILE";
    if (problem.empty() && !out)
        problem = "--out PATH is required";
    const auto format = out ? PictureFormatForPath(*out) : std::nullopt;
    if (problem.empty() && !options.Has("--raw") && !format)
        problem = "the picture format comes from the extension of --out: png, bmp, jpg, gif or tif";
    if (!problem.empty()) {
        std::fprintf(stderr, "velmaris-tool render: %s\n%s", problem.c_str(), kUsage);
        return kExitUsage;
    }

    ToolDocument doc;
    if (!doc.LoadDisplaySettings(options.Value("--ini").value_or("")))
        return kExitFailure;
    DataFile file;
    int fileType = 0;
    if (!OpenDataFile(options.positional[0], file, fileType))
        return kExitFailure;
    PlayWholeFile(file, fileType, doc);

    const bool written = options.Has("--raw") ? WritePgm(doc.state->raster, *out)
                                              : WriteColouredPicture(*doc.state, *out, *format);
    if (!written) {
        std::fprintf(stderr, "velmaris-tool render: cannot write %s\n", out->c_str());
        return kExitFailure;
    }
    return kExitOk;
}

const Subcommand::Registrar kRegistrar {{"render",
    "render FILE --out PATH [--ini INI] [--raw]   play a data file once and write the image", RunRender}};

} // namespace
} // namespace velmaris::tool
