// MP4 through the module velmaris-tool-mp4.so, which links FFmpeg's
// libraries: loaded on the first use only, so that every other command starts
// without them (a hundred shared libraries).

#include "FrameEncoder.h"

#if VELMARIS_HAVE_FFMPEG

#include "station/ModuleLoad.h"

namespace velmaris::tool {

namespace {

using MakeEncoder = FrameEncoder* (*)();

MakeEncoder LoadModule()
{
    constexpr ModulePlaces places {
        VELMARIS_MP4_MODULE_NAME, VELMARIS_MP4_MODULE_INSTALLED, VELMARIS_MP4_MODULE_BUILT};
    std::string why;
    return reinterpret_cast<MakeEncoder>(LoadModuleEntry(places, "VelmarisMakeMp4Encoder", why));
}

MakeEncoder Module()
{
    static const MakeEncoder make = LoadModule();
    return make;
}

} // namespace

bool Mp4Available()
{
    return Module() != nullptr;
}

std::unique_ptr<FrameEncoder> MakeMp4Encoder()
{
    const MakeEncoder make = Module();
    return std::unique_ptr<FrameEncoder>(make != nullptr ? make() : nullptr);
}

} // namespace velmaris::tool

#else

namespace velmaris::tool {

bool Mp4Available()
{
    return false;
}

std::unique_ptr<FrameEncoder> MakeMp4Encoder()
{
    return nullptr;
}

} // namespace velmaris::tool

#endif
