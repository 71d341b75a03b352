#include "station/ModuleLoad.h"

#include <dlfcn.h>
#include <filesystem>
#include <system_error>

namespace velmaris {

std::filesystem::path ProgramFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

void* LoadModuleEntry(const ModulePlaces& places, const char* symbol, std::string& why)
{
    const std::string path = FindModule(places);
    if (path.empty()) {
        why = std::string(places.fileName) + " is not installed";
        return nullptr;
    }
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* error = ::dlerror();
        why = error != nullptr ? error : path + " cannot be loaded";
        return nullptr;
    }
    void* entry = ::dlsym(module, symbol);
    if (entry == nullptr)
        why = path + " has no " + symbol;
    return entry;
}

} // namespace velmaris
