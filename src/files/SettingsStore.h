#pragma once
// The station's settings file over a run: loads and saves "Velmaris.INI"
// and keeps an operator's file the station cannot read. A file that is not
// settings text (UTF-16 without a byte-order mark, binary bytes, text after
// a NUL byte, or one that cannot be read at all) is never written over:
// the run takes the defaults, the operator is told once, and the first save
// moves the file aside to "<path>.unreadable-<date>" before it writes. A
// folder, pipe or device at the path is left alone and nothing is saved
// there. A save that fails is reported once per run, not silently lost.
//
// The head's keys (`SonarComPort`, `IP Address`) say that the operator has
// chosen the head: while the owner withholds them (no head chosen yet) a
// save leaves them as the file has them, so the defaults never become a
// choice by being saved.
//
// Ownership: holds the path; the reporter must outlive the store. Thread:
// user-interface thread only.

#include "files/IniFile.h"
#include "files/Reporter.h"
#include "files/SettingsKeys.h"
#include "protocol/TimeStamp.h"

#include <string>

namespace velmaris {

// "<path>.unreadable-YYYY-MM-DD" (pure).
std::string UnreadableSettingsName(const std::string& path, const LocalTime& when);
std::string UnreadableSettingsMessage(const std::string& path, const std::string& aside);
std::string SettingsNotAFileMessage(const std::string& path);
std::string SettingsSaveFailedMessage(const std::string& path, const std::string& cause);

class SettingsStore {
public:
    explicit SettingsStore(Reporter& reporter)
        : reporter_(reporter)
    { }

    void SetPath(std::string path);
    const std::string& Path() const { return path_; }
    void SetLocalTimeSource(LocalTime (*source)()) { localTime_ = source; }

    // Reads the file and loads both sections (every missing key, or every
    // key of a file that cannot be read, takes its default). Returns what
    // was found; the first load's finding stays in FirstRead().
    IniRead Load(SonarSettings& settings, CommandMessage& command, PingRecord& ping,
        const SettingsFileContext& context);
    // Writes the settings, keeping what the file holds besides (keys added
    // by hand); an unreadable file is moved aside first. False when nothing
    // was written.
    bool Save(
        const SonarSettings& settings, const CommandMessage& command, const SettingsFileContext& context);

    // What the first load of the run found: anything but Read means the
    // station started without the operator's settings.
    IniRead FirstRead() const { return firstRead_; }
    // Whether the last load found either of the head's keys.
    bool HeadKeysFound() const { return headKeysFound_; }
    // While set, saves leave the head's keys as the file has them.
    void WithholdHeadKeys(bool withhold) { withholdHeadKeys_ = withhold; }
    // Where the unreadable file went ("" while it has not been moved).
    const std::string& MovedAsideTo() const { return movedTo_; }

private:
    bool MoveAside(std::string& cause);
    void ReportSaveFailure(const std::string& cause);

    Reporter& reporter_;
    std::string path_;
    LocalTime (*localTime_)() = &CurrentLocalTime;
    bool loaded_ = false;
    IniRead firstRead_ = IniRead::Missing;
    IniRead lastRead_ = IniRead::Missing;
    std::string movedTo_;
    bool toldUnreadable_ = false;
    bool toldSaveFailure_ = false;
    bool headKeysFound_ = false;
    bool withholdHeadKeys_ = false;
};

} // namespace velmaris
