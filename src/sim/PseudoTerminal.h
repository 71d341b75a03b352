#pragma once
// A raw pseudo-terminal for a simulated serial device (the GPS, the K52A head): the
// simulator writes to the master side and keeps the device side open itself,
// so a station may open and close the device as often as it likes. A
// symbolic link may point at the device. POSIX only: on Windows Open()
// refuses with a message (windows/PseudoTerminal.cpp).
//
// Owned by one thread at a time; Close() (or the destructor) removes the
// link while it still points at this terminal.

#include "sim/SocketIo.h"

#include <cstddef>
#include <string>

namespace velmaris::sim {

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    ~PseudoTerminal() { Close(); }

    // `linkPath` "" for no link; an existing symbolic link there is replaced,
    // anything else there is refused. `headBaud` sets the line to 115200 baud
    // (a head) rather than 4800 (a GPS).
    bool Open(const std::string& linkPath, std::string* error, bool headBaud = false);
    void Close();

    // Writes what the line takes now (never blocks); -1 on failure.
    long Write(const char* bytes, std::size_t size);

    bool IsOpen() const { return master_.Valid(); }
    int MasterFd() const { return master_.Get(); } // for poll() and read()
    const std::string& DevicePath() const { return devicePath_; } // "/dev/pts/N"

private:
    UniqueFd master_, device_;
    std::string devicePath_;
    std::string linkPath_; // the link this terminal made, "" for none
};

} // namespace velmaris::sim
