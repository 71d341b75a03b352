#include "station/ModuleLoad.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <filesystem>
#include <system_error>

namespace velmaris {

std::filesystem::path ProgramFolder()
{
    wchar_t program[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::filesystem::path(program).parent_path()
                                           : std::filesystem::path();
}

void* LoadModuleEntry(const ModulePlaces& places, const char* symbol, std::string& why)
{
    const std::string path = FindModule(places);
    if (path.empty()) {
        why = std::string(places.fileName) + " is not installed";
        return nullptr;
    }
    HMODULE module = ::LoadLibraryW(std::filesystem::path(path).c_str());
    if (module == nullptr) {
        why = path + " cannot be loaded (error " + std::to_string(::GetLastError()) + ")";
        return nullptr;
    }
    void* entry = reinterpret_cast<void*>(::GetProcAddress(module, symbol));
    if (entry == nullptr)
        why = path + " has no " + symbol;
    return entry;
}

} // namespace velmaris
