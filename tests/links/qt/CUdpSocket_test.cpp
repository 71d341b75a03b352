#include "links/qt/CUdpSocket.h"

#include "support/LinkTestSupport.h"

#include <QHostAddress>
#include <QUdpSocket>
#include <gtest/gtest.h>

namespace velmaris {
namespace {

using test::RecordingEvents;
using test::WaitUntil;

QByteArray Datagram(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 13 + size);
    return bytes;
}

TEST(CUdpSocket, DatagramsArriveWithTheirTrueSizes)
{
    RecordingEvents events;
    CUdpSocket listener(&events);
    ASSERT_TRUE(listener.Open(0));
    const int port = listener.LocalPort();
    ASSERT_GT(port, 0);

    const std::vector<int> sizes {112, 113, 1023, 1024, 5000};
    QUdpSocket sender;
    for (int size : sizes)
        ASSERT_EQ(
            sender.writeDatagram(Datagram(size), QHostAddress::LocalHost, static_cast<quint16>(port)), size);
    ASSERT_TRUE(WaitUntil([&] { return events.datagrams.size() == sizes.size(); }));

    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const auto& got = events.datagrams[i];
        EXPECT_EQ(got.trueSize, static_cast<std::size_t>(sizes[i]));
        const int kept = std::min(sizes[i], static_cast<int>(kUdpReceiveBufferSize));
        ASSERT_EQ(got.bytes.size(), static_cast<std::size_t>(kept)) << sizes[i];
        EXPECT_EQ(
            QByteArray(reinterpret_cast<const char*>(got.bytes.data()), kept), Datagram(sizes[i]).left(kept));
    }
}

TEST(CUdpSocket, PortHeldElsewhereCannotBeShared)
{
    QUdpSocket holder;
    ASSERT_TRUE(holder.bind(QHostAddress::AnyIPv4, 0, QAbstractSocket::DontShareAddress));
    RecordingEvents events;
    CUdpSocket listener(&events);
    EXPECT_FALSE(listener.Open(holder.localPort()));
    EXPECT_EQ(listener.LocalPort(), 0);

    holder.close();
    ASSERT_TRUE(listener.Open(0));
    listener.Close();
    EXPECT_EQ(listener.LocalPort(), 0);
}

// Every datagram handed on costs `costNs` (a millisecond, as clearing the
// raster may): a flood of 10,000 a second is far more than can be handled.
class SlowEvents final : public LinkEvents {
public:
    explicit SlowEvents(std::int64_t costNs = 1'000'000)
        : costNs_(costNs)
    { }
    void OnTimer(int) override { }
    void OnSerialTransfer(std::span<const std::uint8_t>, bool, std::span<const std::uint8_t>) override { }
    void OnTcpConnected(bool) override { }
    void OnTcpBytes(std::span<const std::uint8_t>) override { }
    void OnTcpClosed() override { }
    void OnUdpDatagram(std::span<const std::uint8_t>, std::size_t) override
    {
        QElapsedTimer busy;
        busy.start();
        while (busy.nsecsElapsed() < costNs_) { }
        ++handled;
    }
    void OnUdpDropped(std::size_t count) override { dropped += count; }
    std::uint64_t handled = 0;
    std::uint64_t dropped = 0;

private:
    std::int64_t costNs_;
};

TEST(CUdpSocket, OneSlowDatagramDefersTheNextRatherThanDroppingIt)
{
    SlowEvents events(6'000'000); // past the batch's whole time budget
    CUdpSocket listener(&events);
    ASSERT_TRUE(listener.Open(0));
    QUdpSocket sender;
    for (int i = 0; i < 2; ++i)
        ASSERT_EQ(
            sender.writeDatagram(Datagram(100 + i), QHostAddress::LocalHost, listener.LocalPort()), 100 + i);
    EXPECT_TRUE(WaitUntil([&] { return events.handled == 2; }));
    EXPECT_EQ(events.dropped, 0u);
}

TEST(CUdpSocket, FloodLeavesTheEventLoopTurningAndCountsWhatItDrops)
{
    SlowEvents events;
    CUdpSocket listener(&events);
    ASSERT_TRUE(listener.Open(0));
    test::UdpFlood flood(listener.LocalPort(), {std::vector<std::uint8_t>(640, 7)}, 10000);
    EXPECT_LT(test::LongestLoopStallMs(500), 100) << "the event loop was held by the flood";
    flood.Stop();
    WaitUntil([] { return false; }, 100);
    const std::uint64_t sent = flood.Sent();
    EXPECT_GT(events.handled, 0u);
    EXPECT_GT(events.dropped, 0u);
    EXPECT_LE(events.handled + events.dropped, sent); // nothing counted twice
    EXPECT_LT(events.handled, sent / 2) << "most of a flood that cannot be handled is dropped";
}

} // namespace
} // namespace velmaris
