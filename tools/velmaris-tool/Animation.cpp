#include "Animation.h"

#include "AnimationFrames.h"
#include "Progress.h"
#include "Subcommand.h"
#include "ToolDocument.h"

#include <algorithm>
#include <cstdio>

namespace velmaris::tool {

int RunAnimation(const AnimationRequest& request)
{
    std::unique_ptr<FrameEncoder> encoder
        = request.format == AnimationFormat::Gif ? MakeGifEncoder() : MakeMp4Encoder();
    ToolDocument doc;
    DataFile file;
    SonarType fileType = SonarType::SerialK52A;
    if (!doc.Open(request.ini, request.input, file, fileType))
        return kExitFailure;

    SonarState& state = *doc.state;
    const int side = PaintedSide(state.settings.zoom);
    int width = request.width > 0 ? request.width : std::min(side, kLargestDefaultWidth);
    if (request.format == AnimationFormat::Mp4)
        width -= width % 2;
    std::string error;
    const AnimationParams params {
        request.output, width, width, request.fps, &state.colors.Table(state.settings.colorTable)};
    if (!encoder->Open(params, &error)) {
        std::fprintf(stderr, "velmaris-tool render: %s\n", error.c_str());
        return kExitFailure;
    }

    ProgressLine progress(stderr, IsTerminal(stderr));
    std::int64_t frames = 0;
    const FrameSampler sampler(side, width);
    const AnimationCounts counts = PlayIntoFrames(
        file, fileType, doc, sampler, request.pingsPerFrame,
        [&](const std::uint8_t* const* rows) {
            ++frames;
            return encoder->AddRows(rows, &error);
        },
        [&](std::int64_t) {
            if (progress.Due())
                progress.Show(
                    ProgressBar(file.Position(), file.Length(), 40) + "  frame " + std::to_string(frames));
        });
    progress.Finish();
    if (error.empty() && counts.pings == 0)
        error = request.input + " holds no ping to animate";
    if (error.empty() && !encoder->Finish(&error) && error.empty())
        error = "cannot write " + request.output;
    if (!error.empty()) {
        encoder.reset(); // closes the file before it goes
        std::remove(request.output.c_str());
        std::fprintf(stderr, "velmaris-tool render: %s\n", error.c_str());
        return kExitFailure;
    }
    std::fprintf(stderr, "velmaris-tool render: %lld frames of %lld pings written to %s\n",
        static_cast<long long>(counts.frames), static_cast<long long>(counts.pings), request.output.c_str());
    return kExitOk;
}

} // namespace velmaris::tool
