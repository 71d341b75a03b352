// Any bytes as a ".52a" data file, walked and painted the way playback does it.
#include "files/PlaybackInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    velmaris::fuzz::RunPlaybackInput(data, size, velmaris::SonarType::SerialK52A, ".52a");
    return 0;
}
