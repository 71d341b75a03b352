// velmaris-tool gpssim: runs the simulated boat's GPS until SIGINT or SIGTERM.

#include "Subcommand.h"
#include "sim/GpsSender.h"

#include <csignal>
#include <cstdio>
#include <pthread.h>

namespace velmaris::tool {

namespace {

void PrintLine(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace

int Run(const GpssimRequest& request)
{
    // SIGINT and SIGTERM are taken by sigwait below; the sender's thread
    // inherits the blocked mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    sim::GpsSenderOptions options;
    options.boat = request.boat;
    options.feed = request.feed;
    options.pty = request.wantPty;
    options.ptyLink = request.pty;
    options.udp = request.udp;
    if (request.log)
        options.log = PrintLine;
    sim::GpsSender gps(options);
    std::string error;
    if (!gps.Start(&error)) {
        std::fprintf(stderr, "velmaris-tool gpssim: %s\n", error.c_str());
        return kExitFailure;
    }
    char start[64];
    std::snprintf(
        start, sizeof start, "%.6f,%.6f", request.boat.start.latitude, request.boat.start.longitude);
    if (request.wantPty)
        PrintLine("gpssim: GPS on " + gps.DevicePath()
            + (request.pty.empty() ? "" : " (link " + request.pty + ")") + ", survey from " + start);
    if (!request.udp.empty())
        PrintLine("gpssim: GPS sentences to " + request.udp + ", survey from " + start);

    int received = 0;
    sigwait(&signals, &received);
    gps.Stop();
    PrintLine(std::string("gpssim: stopped (") + (received == SIGINT ? "SIGINT" : "SIGTERM") + ")");
    return kExitOk;
}

} // namespace velmaris::tool
