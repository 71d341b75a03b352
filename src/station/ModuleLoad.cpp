#include "station/ModuleLoad.h"

#include <system_error>

namespace velmaris {

std::string FindModule(const ModulePlaces& places)
{
    const std::filesystem::path folder = ProgramFolder();
    std::error_code error;
    for (const std::filesystem::path& candidate :
        {folder.empty() ? std::filesystem::path() : folder / places.fileName,
            folder.empty() ? std::filesystem::path() : folder / places.installed,
            std::filesystem::path(places.built)}) {
        if (!candidate.empty() && std::filesystem::is_regular_file(candidate, error))
            return candidate.lexically_normal().string();
    }
    return {};
}

} // namespace velmaris
