// velmaris-tool nmea: feeds a GPS capture file (or a serial device, or a
// network source) through the station's NMEA decoder in tick-sized chunks
// and prints the six GPS texts as JSON lines: one after every decoded
// sentence, and a final one. Once a heading sentence (HDT, HDG, THS) was
// read, the lines carry the heading too.

#include "JsonLine.h"
#include "Subcommand.h"
#include "links/GpsEndpoint.h"
#include "links/NmeaDecoder.h"
#include "links/NmeaSentence.h"

#include <netdb.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace velmaris::tool {

namespace {

constexpr int kTickMs = 200;
volatile std::sig_atomic_t stopRequested = 0;

std::string Printable(const std::string& sentence)
{
    std::string text = sentence;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

std::string headingText; // "" until a heading sentence was read

void PrintTexts(const NmeaDecoder& decoder, const std::string* sentence, long long sentences)
{
    JsonLine line;
    if (sentence != nullptr)
        line.Text("sentence", Printable(*sentence));
    else
        line.Bool("final", true).Int("sentences", sentences).Bool("dataSeen", decoder.DataSeen());
    const GpsTexts& t = decoder.Texts();
    line.Text("time", t.time)
        .Text("date", t.date)
        .Text("latitude", t.latitude)
        .Text("longitude", t.longitude)
        .Text("speed", t.speed)
        .Text("course", t.course);
    if (!headingText.empty())
        line.Text("heading", headingText);
    std::printf("%s\n", line.Finish().c_str());
}

speed_t BaudConstant(long long baud)
{
    switch (baud) {
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B0;
    }
}

// Raw 8N1 at `baud`, no flow control; -1 when it cannot be set up.
int OpenDevice(const std::string& path, long long baud)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    termios line {};
    if (::tcgetattr(fd, &line) == 0) {
        ::cfmakeraw(&line);
        line.c_cflag |= CLOCAL | CREAD;
        line.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
        ::cfsetispeed(&line, BaudConstant(baud));
        ::cfsetospeed(&line, BaudConstant(baud));
        if (::tcsetattr(fd, TCSANOW, &line) != 0) {
            ::close(fd);
            return -1;
        }
    }
    return fd;
}

// A socket that hears `address` (UDP: bound to it; TCP: connected to it),
// non-blocking; -1 with the cause in `error`.
int OpenNetwork(const GpsNetworkAddress& address, std::string& error)
{
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = address.network == GpsNetwork::Udp ? SOCK_DGRAM : SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(address.port);
    if (const int rc = ::getaddrinfo(address.host.c_str(), port.c_str(), &hints, &found); rc != 0) {
        error = ::gai_strerror(rc);
        return -1;
    }
    int fd = -1;
    for (const addrinfo* a = found; a != nullptr && fd < 0; a = a->ai_next) {
        fd = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (fd < 0)
            continue;
        const int one = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        const int rc = address.network == GpsNetwork::Udp ? ::bind(fd, a->ai_addr, a->ai_addrlen)
                                                          : ::connect(fd, a->ai_addr, a->ai_addrlen);
        if (rc != 0) {
            error = std::strerror(errno);
            ::close(fd);
            fd = -1;
        }
    }
    ::freeaddrinfo(found);
    if (fd >= 0)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    return fd;
}

} // namespace

int Run(const NmeaRequest& request)
{
    const long long baud = request.baud;
    const int selection = request.selection;
    // 10 bit times per character (8N1).
    const long long tickBytes = request.tickBytes > 0 ? request.tickBytes : baud / 10 * kTickMs / 1000;

    const std::string& path = request.path;
    int fd = -1;
    bool device = true; // read as it arrives, until Ctrl-C (or a TCP server's end)
    if (IsGpsNetworkText(path)) {
        std::string error;
        const auto address = ParseGpsNetworkAddress(path, error);
        if (address)
            fd = OpenNetwork(*address, error);
        if (fd < 0) {
            std::fprintf(stderr, "velmaris-tool nmea: cannot open %s: %s\n", path.c_str(), error.c_str());
            return kExitFailure;
        }
    } else {
        struct stat info { };
        if (::stat(path.c_str(), &info) != 0) {
            std::fprintf(
                stderr, "velmaris-tool nmea: cannot open %s: %s\n", path.c_str(), std::strerror(errno));
            return kExitFailure;
        }
        device = S_ISCHR(info.st_mode);
        fd = device ? OpenDevice(path, baud) : ::open(path.c_str(), O_RDONLY);
    }
    if (fd < 0) {
        std::fprintf(stderr, "velmaris-tool nmea: cannot open %s: %s\n", path.c_str(), std::strerror(errno));
        return kExitFailure;
    }

    NmeaDecoder decoder(static_cast<NmeaSelection>(selection));
    long long sentences = 0;
    const auto printSentence = [&](const std::string& sentence) {
        ++sentences;
        if (const NmeaReading r = ReadNmeaSentence(sentence); r.kind == NmeaReading::Kind::Heading) {
            char text[32];
            std::snprintf(text, sizeof text, "%.1f%s", r.heading, r.magnetic ? " M" : "");
            headingText = text;
        }
        PrintTexts(decoder, &sentence, sentences);
    };
    std::vector<char> chunk(static_cast<std::size_t>(device ? 65536 : tickBytes));
    if (device) {
        std::signal(SIGINT, [](int) { stopRequested = 1; });
        std::signal(SIGTERM, [](int) { stopRequested = 1; });
    }
    while (stopRequested == 0) {
        if (device) {
            // One tick: wait 200 ms, then take what is queued.
            pollfd wait {fd, POLLIN, 0};
            ::poll(&wait, 1, kTickMs);
        }
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (got <= 0)
            break;
        decoder.Feed(std::string_view(chunk.data(), static_cast<std::size_t>(got)), printSentence);
        std::fflush(stdout);
    }
    ::close(fd);
    PrintTexts(decoder, nullptr, sentences);
    return kExitOk;
}

} // namespace velmaris::tool
