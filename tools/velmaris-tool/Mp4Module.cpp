// MP4 through the module velmaris-tool-mp4.so, which links FFmpeg's
// libraries: loaded on the first use only, so that every other command starts
// without them (a hundred shared libraries). It is looked for beside the
// program (the build tree), in the installed library folder, and last where
// this build made it (tests and benchmarks run from other folders).

#include "FrameEncoder.h"

#if VELMARIS_HAVE_FFMPEG

#include <dlfcn.h>
#include <filesystem>
#include <system_error>

namespace velmaris::tool {

namespace {

using MakeEncoder = FrameEncoder* (*)();

MakeEncoder LoadModule()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder = error ? std::filesystem::path() : program.parent_path();
    for (const std::filesystem::path& candidate : {folder / VELMARIS_MP4_MODULE_NAME,
             folder / VELMARIS_MP4_MODULE_INSTALLED, std::filesystem::path(VELMARIS_MP4_MODULE_BUILT)}) {
        if (candidate.empty() || !std::filesystem::is_regular_file(candidate, error))
            continue;
        // Never closed: the encoders' code lives there to the end.
        if (void* module = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL))
            return reinterpret_cast<MakeEncoder>(::dlsym(module, "VelmarisMakeMp4Encoder"));
    }
    return nullptr;
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
