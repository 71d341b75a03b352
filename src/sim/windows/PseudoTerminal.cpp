#include "sim/PseudoTerminal.h"

// Windows has no pseudo-terminals: the simulated GPS sends over UDP there.

namespace velmaris::sim {

bool PseudoTerminal::Open(const std::string&, std::string* error, bool)
{
    if (error)
        *error = "pseudo-terminals need a POSIX system: send the simulated GPS over UDP instead";
    return false;
}

void PseudoTerminal::Close() { }

long PseudoTerminal::Write(const char*, std::size_t)
{
    return -1;
}

} // namespace velmaris::sim
