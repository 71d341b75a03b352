// The simulated GPS on the wire, received by the station's own decoder.

#include "links/NmeaDecoder.h"
#include "sim/GpsSender.h"
#include "sim/SocketIo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace velmaris::sim {
namespace {

// A boat lying still, so the texts are known exactly.
GpsSenderOptions StillBoat()
{
    GpsSenderOptions o;
    o.boat.speedKnots = 0.0;
    o.boat.yawDegrees = 0.0;
    o.boat.start = {59.43, 10.55}; // 59 deg 25.8 min N, 10 deg 33.0 min E
    o.feed.rateHz = 5.0;
    return o;
}

// Reads the descriptor for `ms` milliseconds, feeding the decoder; returns
// how many reads brought bytes.
int FeedFor(int fd, NmeaDecoder& decoder, int ms, std::vector<std::string>* datagrams = nullptr)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    int reads = 0;
    while (std::chrono::steady_clock::now() < end) {
        pollfd p {fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        char buffer[2048];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            continue;
        ++reads;
        if (datagrams)
            datagrams->emplace_back(buffer, static_cast<std::size_t>(n));
        decoder.Feed(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
    return reads;
}

void ExpectStillBoatTexts(const NmeaDecoder& decoder)
{
    ASSERT_TRUE(decoder.DataSeen());
    const GpsTexts& t = decoder.Texts();
    EXPECT_EQ(t.latitude, "59.25.8000 N");
    EXPECT_EQ(t.longitude, "010.33.0000 E");
    EXPECT_EQ(t.speed, "0.00 Knots");
    EXPECT_EQ(t.course, "0.00 Deg.");
    EXPECT_NE(t.date, kGpsNotAvailable);
    EXPECT_NE(t.time, kGpsNotAvailable);
}

TEST(GpsSender, APseudoTerminalFeedsTheStationsDecoder)
{
    GpsSenderOptions options = StillBoat();
    options.pty = true;
    options.ptyLink = testing::TempDir() + "velmaris-gps-test-link";
    GpsSender gps(options);
    std::string error;
    ASSERT_TRUE(gps.Start(&error)) << error;
    // The station opens the link as it would a receiver's serial device.
    const int fd = ::open(options.ptyLink.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    NmeaDecoder decoder;
    FeedFor(fd, decoder, 1300);
    ::close(fd);
    ExpectStillBoatTexts(decoder);
    EXPECT_GE(decoder.RecentSentences().size(), 8u); // two epochs at least
    gps.Stop();
    EXPECT_NE(::access(options.ptyLink.c_str(), F_OK), 0) << "the link goes with the GPS";
}

TEST(GpsSender, UdpOnLoopbackSendsOneSentenceADatagram)
{
    ASSERT_TRUE(SocketsReady());
    UniqueFd socket(OpenSocket(AF_INET, SOCK_DGRAM, false));
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    ::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &length);

    GpsSenderOptions options = StillBoat();
    options.udp = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    GpsSender gps(options);
    std::string error;
    ASSERT_TRUE(gps.Start(&error)) << error;
    NmeaDecoder decoder;
    std::vector<std::string> datagrams;
    FeedFor(socket.Get(), decoder, 1300, &datagrams);
    gps.Stop();
    FeedFor(socket.Get(), decoder, 100, &datagrams); // what was sent while the reading stopped
    ExpectStillBoatTexts(decoder);
    ASSERT_GE(datagrams.size(), 8u);
    for (const std::string& d : datagrams) {
        EXPECT_EQ(d.rfind("$GP", 0), 0u) << d;
        EXPECT_EQ(d.find('$', 1), std::string::npos) << d;
        EXPECT_TRUE(d.ends_with("\r\n")) << d;
    }
    EXPECT_EQ(gps.Sentences(), datagrams.size());
}

TEST(GpsSender, RefusesWhatItCannotDo)
{
    struct Case {
        const char* name;
        GpsSenderOptions options;
        const char* message;
    };
    GpsSenderOptions none = StillBoat();
    GpsSenderOptions away = StillBoat();
    away.udp = "192.168.0.5:10110";
    GpsSenderOptions talker = StillBoat();
    talker.udp = "127.0.0.1:10110";
    talker.feed.talker = "gps";
    GpsSenderOptions rate = talker;
    rate.feed.talker = "GN";
    rate.feed.rateHz = 50.0;
    const Case cases[] = {
        {"no transport", none, "pseudo-terminal or a UDP address"},
        {"not loopback", away, "192.168.0.5"},
        {"talker", talker, "talker"},
        {"rate", rate, "rate"},
    };
    for (const Case& c : cases) {
        GpsSender gps(c.options);
        std::string error;
        EXPECT_FALSE(gps.Start(&error)) << c.name;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
    }
}

} // namespace
} // namespace velmaris::sim
