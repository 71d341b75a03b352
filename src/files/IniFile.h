#pragma once
// A Windows-style INI file held in memory: read once, queried and changed
// key by key, written back whole. Section and key names match without regard
// to case, as on Windows; keys with blanks and "/" stay as they are; keys
// and sections the station does not know (added by hand) are kept.
//
// Not thread-safe; the user-interface thread owns it.

#include <memory>
#include <string>
#include <string_view>

namespace velmaris {

// The key-by-key view of an INI file through which the settings key table
// reads and writes (tests count the calls through it).
class IniKeys {
public:
    virtual ~IniKeys() = default;
    // The text of a key, or `fallback` when the section or key is missing.
    virtual std::string Get(const char* section, const char* key, const std::string& fallback) const = 0;
    virtual void Set(const char* section, const char* key, const std::string& value) = 0;
};

// What reading a settings file found.
enum class IniRead {
    Read, // read as text (UTF-16 with a byte-order mark included)
    Missing, // no file at the path
    Unreadable, // a file that cannot be read as settings text (or at all)
    NotAFile, // a folder, a pipe or a device: never opened for long, never read
};

class IniFile final : public IniKeys {
public:
    IniFile();
    ~IniFile() override;
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    // Reads the file. Anything but Read leaves the INI empty, so every key
    // takes its default; nothing blocks on a FIFO or a device.
    IniRead Load(const std::string& path);
    // The same from the file's bytes.
    IniRead LoadBytes(std::string_view bytes);

    std::string Get(const char* section, const char* key, const std::string& fallback) const override;
    void Set(const char* section, const char* key, const std::string& value) override;
    // Removes a key (nothing when it is missing).
    void Remove(const char* section, const char* key);

    // Writes the whole file through a temporary file and a rename, so a crash
    // or a full disk never leaves a truncated settings file; the file keeps
    // its permissions and a link to it stays a link. Returns false (and
    // leaves any old file untouched) when it could not be written, with the
    // cause in `error` when given.
    [[nodiscard]] bool Save(const std::string& path, std::string* error = nullptr) const;

    // The line end the file is written with: CR LF on Windows, as its own
    // programs write INI files, LF elsewhere.
    static const char* LineEnd();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace velmaris
