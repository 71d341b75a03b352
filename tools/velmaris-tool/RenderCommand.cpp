// velmaris-tool render FILE --out PATH [--ini INI] [--raw] [--crop X,Y,W,H]: plays every record
// of a data file once, in order, as playback does, and writes the raster;
// with --animate OUT the playback frame by frame as an animated GIF or MP4.

#include "Animation.h"
#include "Options.h"
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

constexpr const char* kUsage
    = "usage: velmaris-tool render FILE --out PATH [--ini INI] [--raw] [--crop X,Y,W,H]\n"
      "       velmaris-tool render FILE --animate OUT.gif|OUT.mp4 [--ini INI] [--fps N]\n"
      "                                 [--pings-per-frame N] [--width W]\n"
      "  plays FILE once and writes the image: --raw as a binary PGM of the colour indices,\n"
      "  otherwise a picture through the selected colour table (png, bmp, jpg, gif, tif);\n"
      "  --crop writes only that rectangle of the 4000 x 4000 image.\n"
      "  --animate writes the playback as it is painted, one frame after every\n"
      "  --pings-per-frame painted pings (default 20) and one after the last, shown at --fps\n"
      "  frames per second (1 to 100, default 10). A frame is the square of the image the\n"
      "  painters draw into at the zoom of INI (its top-left 1000 x 1000 pixels at zoom 1),\n"
      "  at --width W x W pixels (16 to 4000; default its own size up to 1000; each pixel the\n"
      "  image's pixel at its centre), through the selected colour table of INI: an animated\n"
      "  GIF that loops (one palette; each frame holds what changed), or an H.264 MP4\n"
      "  (yuv420p; an odd width is taken one less) in a build with FFmpeg's libraries\n"
      "  (otherwise: MP4 needs FFmpeg). A progress bar shows on a terminal.\n";

// --animate: the request from the options, or a message.
std::string AnimationOptions(const ParsedOptions& options, AnimationRequest& request)
{
    request.output = *options.Value("--animate");
    const auto format = AnimationFormatForPath(request.output);
    if (!format)
        return "the animation format comes from the extension of --animate: gif or mp4";
    request.format = *format;
    if (options.Value("--out") || options.Has("--raw") || options.Value("--crop"))
        return "--animate goes without --out, --raw and --crop";
    struct Limit {
        const char* name;
        int* field;
        int low, high;
    };
    for (const Limit& limit : {Limit {"--fps", &request.fps, 1, 100},
             Limit {"--pings-per-frame", &request.pingsPerFrame, 1, 1000000},
             Limit {"--width", &request.width, 16, ImageRaster::kWidth}}) {
        if (const auto text = options.Value(limit.name)) {
            const auto value = ParseWholeNumber(*text);
            if (!value || *value < limit.low || *value > limit.high)
                return std::string(limit.name) + " takes a whole number from " + std::to_string(limit.low)
                    + " to " + std::to_string(limit.high);
            *limit.field = static_cast<int>(*value);
        }
    }
    if (request.format == AnimationFormat::Mp4 && !Mp4Available())
        return kMsgMp4NeedsFfmpeg;
    request.input = options.positional[0];
    request.ini = options.Value("--ini").value_or("");
    return {};
}

struct Crop {
    int x = 0, y = 0, w = ImageRaster::kWidth, h = ImageRaster::kHeight;
};

std::optional<Crop> ParseCrop(const std::string& text)
{
    Crop crop;
    int* fields[] = {&crop.x, &crop.y, &crop.w, &crop.h};
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = i < 3 ? text.find(',', start) : text.size();
        if (comma == std::string::npos)
            return std::nullopt;
        const auto value = ParseWholeNumber(text.substr(start, comma - start));
        if (!value || *value < 0 || *value > ImageRaster::kWidth)
            return std::nullopt;
        *fields[i] = static_cast<int>(*value);
        start = comma + 1;
    }
    if (crop.w == 0 || crop.h == 0 || crop.x + crop.w > ImageRaster::kWidth
        || crop.y + crop.h > ImageRaster::kHeight)
        return std::nullopt;
    return crop;
}

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
    const ParsedOptions options = ParseOptions(args,
        {"--out", "--ini", "--crop", "--animate", "--fps", "--pings-per-frame", "--width"},
        {"--raw", "--help"});
    if (options.Has("--help")) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    if (options.error.empty() && options.positional.size() == 1 && options.Value("--animate")) {
        AnimationRequest request;
        const std::string problem = AnimationOptions(options, request);
        if (!problem.empty()) {
            std::fprintf(stderr, "velmaris-tool render: %s\n%s", problem.c_str(), kUsage);
            return kExitUsage;
        }
        return RunAnimation(request);
    }
    const auto out = options.Value("--out");
    std::string problem = options.error;
    for (const char* animationOnly : {"--fps", "--pings-per-frame", "--width"})
        if (problem.empty() && options.Value(animationOnly))
            problem = std::string(animationOnly) + " goes with --animate";
    if (problem.empty() && options.positional.size() != 1)
        problem = "expected exactly one FILE";
    if (problem.empty() && !out)
        problem = "--out PATH is required";
    const auto format = out ? PictureFormatForPath(*out) : std::nullopt;
    const auto crop = ParseCrop(options.Value("--crop").value_or("0,0,4000,4000"));
    if (problem.empty() && !crop)
        problem = "--crop takes X,Y,W,H inside the 4000 x 4000 image";
    if (problem.empty() && !options.Has("--raw") && !format)
        problem = "the picture format comes from the extension of --out: png, bmp, jpg, gif or tif";
    if (!problem.empty()) {
        std::fprintf(stderr, "velmaris-tool render: %s\n%s", problem.c_str(), kUsage);
        return kExitUsage;
    }

    ToolDocument doc;
    DataFile file;
    int fileType = 0;
    if (!doc.Open(options.Value("--ini").value_or(""), options.positional[0], file, fileType))
        return kExitFailure;
    PlayWholeFile(file, fileType, doc);

    const bool written = options.Has("--raw") ? WritePgm(doc.state->raster, *crop, *out)
                                              : WriteColouredPicture(*doc.state, *crop, *out, *format);
    if (!written) {
        std::fprintf(stderr, "velmaris-tool render: cannot write %s\n", out->c_str());
        return kExitFailure;
    }
    return kExitOk;
}

const Subcommand::Registrar kRegistrar {{"render",
    "render FILE --out PATH [--ini INI] [--raw] [--crop X,Y,W,H]   play a data file once and write the "
    "image\n"
    "  render FILE --animate OUT.gif|OUT.mp4 [--fps N --pings-per-frame N --width W]   ... or its animation",
    RunRender}};

} // namespace
} // namespace velmaris::tool
