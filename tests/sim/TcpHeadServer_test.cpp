#include "sim/TcpHeadServer.h"

#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velmaris::sim {
namespace {

using test::Bytes;
using test::CommandBytes;
using test::ReadFor;

class Station {
public:
    explicit Station(std::uint16_t port)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in sa {};
        sa.sin_family = AF_INET;
        sa.sin_port = htons(port);
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
    }
    ~Station() { ::close(fd_); }
    bool Connected() const { return connected_; }
    void Send(const Bytes& bytes)
    {
        ASSERT_EQ(::send(fd_, bytes.data(), bytes.size(), 0), ssize_t(bytes.size()));
    }
    Bytes Read(std::size_t want, int timeoutMs = 1000) { return ReadFor(fd_, want, timeoutMs); }
    // Size of each recv() call while a whole reply comes in.
    std::vector<std::size_t> Segments(std::size_t want)
    {
        std::vector<std::size_t> sizes;
        std::size_t total = 0;
        while (total < want) {
            const Bytes piece = ReadFor(fd_, 1, 1000);
            if (piece.empty())
                break;
            std::uint8_t rest[1024];
            const ssize_t more = ::recv(fd_, rest, std::min(sizeof rest, want - total - 1), MSG_DONTWAIT);
            const std::size_t size = 1 + static_cast<std::size_t>(std::max<ssize_t>(0, more));
            sizes.push_back(size);
            total += size;
        }
        return sizes;
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};

std::unique_ptr<TcpHeadServer> StartHead(const std::string& faults, bool fast = true)
{
    TcpHeadOptions options;
    options.address = "127.0.0.1:0";
    options.fast = fast;
    options.faults = *FaultPlan::Parse(faults, nullptr);
    auto server = std::make_unique<TcpHeadServer>(options);
    std::string error;
    EXPECT_TRUE(server->Start(&error)) << error;
    EXPECT_NE(server->Port(), 0);
    return server;
}

TEST(TcpHeadServer, AnswersEachCommandAndIgnoresMalformedOnes)
{
    auto head = StartHead("");
    Station station(head->Port());
    ASSERT_TRUE(station.Connected());
    Bytes bad = CommandBytes();
    bad[CommandMessage::kStart] = 0x00;
    bad[0] = 0x00;
    station.Send(bad);
    EXPECT_TRUE(station.Read(1, 150).empty()); // never answered
    for (int dataPoints : {50, 25}) {
        station.Send(CommandBytes(30, 60, 120, 3, dataPoints));
        const Bytes reply = station.Read(dataPoints == 50 ? 513 : 265);
        ASSERT_EQ(reply.size(), dataPoints == 50 ? 513u : 265u);
        EXPECT_EQ(reply[0], 'I');
        EXPECT_EQ(reply[1], dataPoints == 50 ? 'G' : 'M');
    }
    head->Stop();
    EXPECT_EQ(head->Pings(), 2u);
    EXPECT_GE(head->Malformed(), 1u);
}

TEST(TcpHeadServer, WaitsTheTwoWayTravelTimeWithoutFast)
{
    auto head = StartHead("", false);
    Station station(head->Port());
    const auto start = std::chrono::steady_clock::now();
    station.Send(CommandBytes(90)); // 120 ms
    ASSERT_EQ(station.Read(513).size(), 513u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(115));
}

TEST(TcpHeadServer, DropsAndDelaysReplies)
{
    const Bytes command = CommandBytes();
    auto dropping = StartHead("drop=2");
    Station station(dropping->Port());
    station.Send(command);
    ASSERT_EQ(station.Read(513).size(), 513u);
    station.Send(command);
    EXPECT_TRUE(station.Read(1, 150).empty());
    station.Send(command);
    EXPECT_EQ(station.Read(513).size(), 513u);

    auto delaying = StartHead("delay=1:200");
    Station late(delaying->Port());
    const auto start = std::chrono::steady_clock::now();
    late.Send(command);
    EXPECT_TRUE(late.Read(1, 120).empty());
    ASSERT_EQ(late.Read(513, 1000).size(), 513u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(190));
}

TEST(TcpHeadServer, SplitsAndGarblesReplies)
{
    const Bytes command = CommandBytes();
    auto splitting = StartHead("split=1:2:60");
    Station station(splitting->Port());
    station.Send(command);
    const std::vector<std::size_t> segments = station.Segments(513);
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0] + segments[1], 513u);

    auto garbling = StartHead("garbage=1");
    Station other(garbling->Port());
    other.Send(command);
    const Bytes garbled = other.Read(513);
    ASSERT_EQ(garbled.size(), 513u);
    EXPECT_NE(std::string(garbled.begin(), garbled.begin() + 3), "IGX");
}

TEST(TcpHeadServer, ClosesEveryNthPingAndTakesTheNextConnection)
{
    const Bytes command = CommandBytes();
    auto head = StartHead("close=2");
    Station station(head->Port());
    station.Send(command);
    ASSERT_EQ(station.Read(513).size(), 513u);
    station.Send(command); // reply, then the head hangs up
    EXPECT_EQ(station.Read(513).size(), 513u);
    EXPECT_TRUE(station.Read(1, 500).empty());

    Station again(head->Port());
    ASSERT_TRUE(again.Connected());
    again.Send(command);
    EXPECT_EQ(again.Read(513).size(), 513u);
    again.Send(command);
    EXPECT_EQ(again.Read(513).size(), 513u); // counted afresh per connection
    EXPECT_TRUE(again.Read(1, 300).empty());
    EXPECT_EQ(head->Connections(), 2u);
}

TEST(TcpHeadServer, NewestConnectionWinsAndNonLoopbackIsRefused)
{
    auto head = StartHead("");
    Station first(head->Port());
    Station second(head->Port());
    second.Send(CommandBytes());
    EXPECT_EQ(second.Read(513).size(), 513u);
    EXPECT_TRUE(first.Read(1, 200).empty());

    TcpHeadOptions options;
    options.address = "192.168.0.5:4040";
    TcpHeadServer refused(options);
    std::string error;
    EXPECT_FALSE(refused.Start(&error));
    EXPECT_NE(error.find("non-loopback"), std::string::npos);
}

} // namespace
} // namespace velmaris::sim
