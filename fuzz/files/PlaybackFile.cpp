// Any bytes as a data file: walked and painted the way playback does it.
// Nothing may hang, read or write out of bounds, or divide by zero.

#include "files/DataFile.h"
#include "files/PlaybackDecode.h"
#include "files/RecordReader.h"
#include "image/SonarState.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static auto state = std::make_unique<velmaris::SonarState>();
    const std::string path = "/tmp/velmaris-fuzz-" + std::to_string(getpid()) + ".52a";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    velmaris::DataFile file;
    if (file.Open(path) == velmaris::DataFile::OpenResult::Ok) {
        velmaris::WalkRecords(
            file, velmaris::kFileTypeSerial,
            [](const velmaris::RecordFrame& frame) {
                if (velmaris::DecodePlaybackRecord(*state, frame).valid)
                    velmaris::PaintCurrentPing(*state);
            },
            [](std::int64_t, const velmaris::RecordFrame&) {});
    }
    std::remove(path.c_str());
    return 0;
}
