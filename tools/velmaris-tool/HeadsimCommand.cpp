// velmaris-tool headsim: runs simulated heads (TCP, pseudo-terminal, UDP
// sender) until SIGINT or SIGTERM.

#include "Options.h"
#include "SimOptions.h"
#include "Subcommand.h"
#include "sim/PtyHead.h"
#include "sim/TcpHeadServer.h"
#include "sim/UdpPingSender.h"

#include <csignal>
#include <cstdio>
#include <memory>
#include <pthread.h>
#include <set>

namespace velmaris::tool {

namespace {

void Usage(std::FILE* out)
{
    std::fprintf(out,
        "usage: velmaris-tool headsim [--tcp HOST:PORT] [--pty [LINK]] [--udp HOST:PORT --rate HZ]\n"
        "                             [--seed N] [--faults LIST] [--fast] [--log]\n"
        "                             [--mode M] [--range M] [--step S] [--gain G]   (UDP pings)\n"
        "  --tcp     simulated Ethernet head K52L on a loopback address (port 0: a free port);\n"
        "            the default when no transport is given is 127.0.0.1:4040\n"
        "  --pty     simulated serial head K52A on a new pseudo-terminal, optionally linked at LINK\n"
        "  --udp     send pings as datagrams (record layout) to a loopback address, --rate per second\n"
        "  --faults  comma list of name[=every[:a[:b]]]: drop=N, delay=N:MS, split=N:K:MS, garbage=N,\n"
        "            close=N (TCP), undersize=N, oversize=N, badlength=N (UDP)\n"
        "  --fast    answer at once instead of after the ping time\n"
        "  --log     one line per ping on standard output\n"
        "Loopback addresses only (127.0.0.0/8, ::1, localhost). Runs until interrupted.\n");
}

void PrintLine(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Options that take a value; "--pty" takes one only when a link path follows.
const std::set<std::string>& ValuedOptions()
{
    static const std::set<std::string> valued = [] {
        std::set<std::string> names {"--tcp", "--udp", "--faults", "--rate", "--seed"};
        names.insert(PingOptionNames().begin(), PingOptionNames().end());
        return names;
    }();
    return valued;
}

int Unexpected(const std::string& argument)
{
    std::fprintf(stderr, "velmaris-tool headsim: unexpected argument '%s'\n", argument.c_str());
    Usage(stderr);
    return kExitUsage;
}

int Run(const std::vector<std::string>& args)
{
    const ParsedOptions options
        = ParseOptions(args, ValuedOptions(), {"--fast", "--log", "--help", "-h"}, {"--pty"});
    if (options.Has("--help") || options.Has("-h")) {
        Usage(stdout);
        return kExitOk;
    }
    // Parsing stops at an error, so a stray word met so far came first.
    if (!options.positional.empty())
        return Unexpected(options.positional.front());
    if (!options.error.empty()) {
        if (ValuedOptions().count(options.errorArgument) == 0)
            return Unexpected(options.errorArgument);
        std::fprintf(stderr, "velmaris-tool headsim: %s needs a value\n", options.errorArgument.c_str());
        return kExitUsage;
    }
    sim::SimCommandSettings pings;
    if (!ApplyPingOptions("headsim", options, pings))
        return kExitUsage;
    long long number = 0;
    double rate = 10.0;
    if (const auto text = options.Value("--rate")) {
        if (!ParseInteger(*text, 1, 1000, number)) {
            std::fprintf(stderr, "velmaris-tool headsim: --rate must be 1 to 1000 per second\n");
            return kExitUsage;
        }
        rate = static_cast<double>(number);
    }
    std::uint64_t seed = 1;
    if (const auto text = options.Value("--seed")) {
        if (!ParseInteger(*text, 0, 1LL << 62, number)) {
            std::fprintf(stderr, "velmaris-tool headsim: --seed must be a whole number\n");
            return kExitUsage;
        }
        seed = static_cast<std::uint64_t>(number);
    }
    std::string tcp = options.Value("--tcp").value_or("");
    const std::string udp = options.Value("--udp").value_or("");
    const std::string faults = options.Value("--faults").value_or("");
    const bool wantPty = options.Has("--pty");
    const std::string pty = options.Value("--pty").value_or("");
    const bool fast = options.Has("--fast");
    const bool log = options.Has("--log");

    std::string error;
    const auto plan = sim::FaultPlan::Parse(faults, &error);
    if (!plan) {
        std::fprintf(stderr, "velmaris-tool headsim: %s\n", error.c_str());
        return kExitUsage;
    }
    if (tcp.empty() && !wantPty && udp.empty())
        tcp = "127.0.0.1:4040";
    // Refuse a non-loopback address before anything starts.
    for (const std::string& address : {tcp, udp}) {
        sim::LoopbackEndpoint endpoint;
        if (!address.empty() && !sim::ParseLoopbackEndpoint(address, 4040, endpoint, &error)) {
            std::fprintf(stderr, "velmaris-tool headsim: %s\n", error.c_str());
            return kExitUsage;
        }
    }

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
    head.seed = seed;
    std::unique_ptr<sim::TcpHeadServer> tcpHead;
    std::unique_ptr<sim::PtyHead> ptyHead;
    std::unique_ptr<sim::UdpPingSender> udpSender;
    if (!tcp.empty()) {
        tcpHead = std::make_unique<sim::TcpHeadServer>(sim::TcpHeadOptions {tcp, fast, *plan, head, logger});
        if (!tcpHead->Start(&error)) {
            std::fprintf(stderr, "velmaris-tool headsim: %s\n", error.c_str());
            return kExitFailure;
        }
        PrintLine(
            "headsim: K52L head listening on " + tcpHead->Host() + ":" + std::to_string(tcpHead->Port()));
    }
    if (wantPty) {
        ptyHead = std::make_unique<sim::PtyHead>(sim::PtyHeadOptions {pty, fast, *plan, head, logger});
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
        options.faults = *plan;
        options.log = logger;
        udpSender = std::make_unique<sim::UdpPingSender>(options);
        if (!udpSender->Start(&error)) {
            std::fprintf(stderr, "velmaris-tool headsim: %s\n", error.c_str());
            return kExitFailure;
        }
        PrintLine(
            "headsim: sending pings to " + udp + " at " + std::to_string(static_cast<int>(rate)) + " Hz");
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

const Subcommand::Registrar registrar({"headsim",
    "headsim [--tcp HOST:PORT] [--pty LINK] [--udp HOST:PORT --rate HZ] ...  run simulated heads", Run});

} // namespace
} // namespace velmaris::tool
