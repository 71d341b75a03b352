#pragma once
// A Windows-style INI file held in memory: read once, queried and changed
// key by key, written back whole. Section and key names match without regard
// to case, as on Windows; keys with blanks and "/" stay as they are; keys
// and sections the station does not know (added by hand) are kept.
//
// Not thread-safe; the user-interface thread owns it.

#include <memory>
#include <string>

namespace velmaris {

class IniFile {
public:
    IniFile();
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    // Reads the file. A missing or unreadable file leaves the INI empty, so
    // every key takes its default; returns whether the file was read.
    bool Load(const std::string& path);

    // The text of a key, or `fallback` when the section or key is missing.
    std::string Get(const char* section, const char* key, const std::string& fallback) const;
    void Set(const char* section, const char* key, const std::string& value);

    // Writes the whole file through a temporary file and a rename, so a crash
    // or a full disk never leaves a truncated settings file. Returns false
    // (and leaves any old file untouched) when it could not be written.
    bool Save(const std::string& path) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Writes `data` to `path` atomically: temporary file in the same folder,
// flushed to disk, then renamed over the target. False on any failure.
bool WriteFileAtomically(const std::string& path, const std::string& data);

} // namespace velmaris
