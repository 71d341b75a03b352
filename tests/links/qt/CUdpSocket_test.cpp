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

} // namespace
} // namespace velmaris
