#include "sim/PtyHead.h"

#include "sim/HeadSession.h"

// Windows has no pseudo-terminals: the serial head is refused at Start();
// the TCP head and the UDP sender work there as on POSIX. A serial station
// on Windows is tried against a real head or a null-modem pair.

namespace velmaris::sim {

struct PtyHead::Io { };

PtyHead::PtyHead(PtyHeadOptions options)
    : options_(std::move(options))
    , io_(std::make_unique<Io>())
{ }

PtyHead::~PtyHead()
{
    Stop();
}

bool PtyHead::Start(std::string* error)
{
    return Fail(error, "pseudo-terminals need a POSIX system: the simulated serial head does not run here");
}

void PtyHead::Stop()
{
    StopThread();
}

void PtyHead::Begin() { }

int PtyHead::Prepare(std::vector<pollfd>&)
{
    return kEndLoop;
}

void PtyHead::Ready(std::span<const pollfd>) { }

void PtyHead::End() { }

} // namespace velmaris::sim
