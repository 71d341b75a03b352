// Any bytes as a ".52l" data file: played as the Ethernet model (re-synchronised
// on 'L'-tagged records) unless it begins with "52a", as the station settles it.
#include "files/PlaybackInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    velmaris::fuzz::RunPlaybackInput(data, size, velmaris::SonarType::EthernetK52L, ".52l");
    return 0;
}
