// velmaris-tool headsim: runs simulated heads (TCP, pseudo-terminal, UDP
// sender) until SIGINT or SIGTERM.

#include "Subcommand.h"
#include "sim/PtyHead.h"
#include "sim/TcpHeadServer.h"
#include "sim/UdpPingSender.h"

#include <csignal>
#include <cstdio>
#include <memory>
#include <pthread.h>

namespace velmaris::tool {

namespace {

void PrintLine(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace

int Run(const HeadsimRequest& request)
{
    const std::string& tcp = request.tcp;
    const std::string& udp = request.udp;
    const std::string& pty = request.pty;
    const bool wantPty = request.wantPty;
    const bool fast = request.fast;
    const bool log = request.log;
    const double rate = static_cast<double>(request.rate);
    const sim::FaultPlan& plan = request.faults;
    const sim::SimCommandSettings& pings = request.pings;
    std::string error;

    // SIGINT and SIGTERM are taken by sigwait below; the transport threads
    // inherit the blocked mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    const std::function<void(const std::string&)> logger
        = log ? PrintLine : std::function<void(const std::string&)>();
    sim::HeadOptions head;
    head.seed = request.seed;
    if (request.boat)
        head.boat = request.boatOptions;
    std::unique_ptr<sim::TcpHeadServer> tcpHead;
    std::unique_ptr<sim::PtyHead> ptyHead;
    std::unique_ptr<sim::UdpPingSender> udpSender;
    if (!tcp.empty()) {
        tcpHead = std::make_unique<sim::TcpHeadServer>(sim::TcpHeadOptions {tcp, fast, plan, head, logger});
        if (!tcpHead->Start(&error)) {
            std::fprintf(stderr, "velmaris-tool headsim: %s\n", error.c_str());
            return kExitFailure;
        }
        PrintLine(
            "headsim: K52L head listening on " + tcpHead->Host() + ":" + std::to_string(tcpHead->Port()));
    }
    if (wantPty) {
        ptyHead = std::make_unique<sim::PtyHead>(sim::PtyHeadOptions {pty, fast, plan, head, logger});
        if (!ptyHead->Start(&error)) {
            std::fprintf(stderr, "velmaris-tool headsim: %s\n", error.c_str());
            return kExitFailure;
        }
        PrintLine(
            "headsim: K52A head on " + ptyHead->DevicePath() + (pty.empty() ? "" : " (link " + pty + ")"));
    }
    if (!udp.empty()) {
        sim::UdpSenderOptions options;
        options.address = udp;
        options.rateHz = rate;
        options.source.command = pings;
        options.source.head = head;
        options.faults = plan;
        options.log = logger;
        udpSender = std::make_unique<sim::UdpPingSender>(options);
        if (!udpSender->Start(&error)) {
            std::fprintf(stderr, "velmaris-tool headsim: %s\n", error.c_str());
            return kExitFailure;
        }
        PrintLine(
            "headsim: sending pings to " + udp + " at " + std::to_string(static_cast<int>(rate)) + " Hz");
    }

    if (request.boat) {
        char start[96];
        std::snprintf(start, sizeof start, "headsim: the heads ride the boat, surveying from %.6f,%.6f",
            request.boatOptions.start.latitude, request.boatOptions.start.longitude);
        PrintLine(start);
    }

    int received = 0;
    sigwait(&signals, &received);
    if (tcpHead)
        tcpHead->Stop();
    if (ptyHead)
        ptyHead->Stop();
    if (udpSender)
        udpSender->Stop();
    PrintLine(std::string("headsim: stopped (") + (received == SIGINT ? "SIGINT" : "SIGTERM") + ")");
    return kExitOk;
}

} // namespace velmaris::tool
