#include "links/qt/CGpsReader.h"

#include "support/LinkTestSupport.h"
#include "support/PtyPeer.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace velmaris {
namespace {

using test::PtyPeer;
using test::WaitUntil;

std::string Capture(const char* name)
{
    std::ifstream in(
        std::filesystem::path(VELMARIS_SOURCE_DIR) / "tests/links/data/nmea" / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A receiver at 4800 baud: 480 characters a second, written in 50 ms
// pieces while the reader ticks every 200 ms.
TEST(CGpsReader, DecodesACaptureArrivingAt4800Baud)
{
    PtyPeer receiver;
    ASSERT_TRUE(receiver.Ok());
    CGpsReader reader;
    int updates = 0;
    reader.SetOnTexts([&updates] { ++updates; });
    ASSERT_EQ(reader.Open(QString::fromStdString(receiver.Path()), 4800, 4), SerialOpenResult::Ok);
    EXPECT_TRUE(reader.Running());
    EXPECT_EQ(reader.HeldComPort(), 4);
    EXPECT_EQ(reader.Texts(), GpsTexts {});

    // The first three fixes of the capture, sentences split wherever a piece ends.
    const std::string capture = Capture("meinberg-gps164.log");
    const std::size_t third = capture.find("$GPRMC,220955.00");
    ASSERT_NE(third, std::string::npos);
    const std::string sent = capture.substr(0, capture.find('\n', third) + 1);
    QElapsedTimer clock;
    clock.start();
    for (std::size_t at = 0; at < sent.size(); at += 24) {
        receiver.Send(std::string_view(sent).substr(at, 24));
        WaitUntil([] { return false; }, 50);
    }
    ASSERT_TRUE(WaitUntil([&] { return reader.Texts().time == "22:09:55"; }, 3000)) << reader.Texts().time;
    EXPECT_EQ(reader.Texts().date, "18-DEC-2023");
    EXPECT_EQ(reader.Texts().latitude, "47.42.21 N");
    EXPECT_GE(updates, 2) << "texts follow tick by tick";
    EXPECT_FALSE(reader.RecentSentences().empty());

    reader.Close();
    EXPECT_FALSE(reader.Running());
    EXPECT_EQ(reader.HeldComPort(), 0);
    receiver.Send("$GPRMC,235959,A,4742.21,N,01200.76,E,0.0,0.0,181223,0.0,E*55\r\n");
    WaitUntil([] { return false; }, 300);
    EXPECT_EQ(reader.Texts().time, "22:09:55") << "nothing is read once closed";
}

TEST(CGpsReader, MissingDeviceIsNotAvailable)
{
    CGpsReader reader;
    EXPECT_EQ(
        reader.Open(QStringLiteral("/dev/velmaris-no-such-gps"), 4800, 2), SerialOpenResult::NotAvailable);
    EXPECT_FALSE(reader.Running());
    EXPECT_EQ(GpsNotAvailableMessage(2),
        "COM2 is not available. \nPlease choose another COM Port for GPS input!   ");
}

// NMEA over the network, on loopback only: datagrams (the last sentence of
// one without its line end) and a TCP stream, talker "GN".
TEST(CGpsReader, ReadsDatagramsAndATcpStream)
{
    const std::string rmc = "$GNRMC,171948.00,A,4404.13902,N,12118.85371,W,0.059,,180315,,,A*72";
    const std::string vtg = "$GNVTG,,T,,M,0.084,N,0.156,K,A*33";
    {
        CGpsReader reader;
        std::vector<std::string> sentences;
        reader.SetOnSentence([&](const std::string& s) { sentences.push_back(s); });
        std::string error;
        ASSERT_TRUE(reader.OpenNetwork({GpsNetwork::Udp, "127.0.0.1", 0}, error)) << error;
        ASSERT_GT(reader.BoundUdpPort(), 0);
        EXPECT_TRUE(reader.Running());
        QUdpSocket sender;
        const QByteArray datagram = QByteArray::fromStdString(vtg + "\r\n" + rmc);
        sender.writeDatagram(datagram, QHostAddress::LocalHost, static_cast<quint16>(reader.BoundUdpPort()));
        ASSERT_TRUE(WaitUntil([&] { return reader.Texts().time == "17:19:48"; }, 3000));
        EXPECT_EQ(reader.Texts().latitude, "44.04.1390 N");
        EXPECT_EQ(sentences, (std::vector<std::string> {vtg + "\r\n", rmc + "\r\n"}));
        reader.Close();
        EXPECT_FALSE(reader.Running());
    }
    {
        QTcpServer server;
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        CGpsReader reader;
        std::string error;
        ASSERT_TRUE(reader.OpenNetwork({GpsNetwork::Tcp, "127.0.0.1", server.serverPort()}, error));
        ASSERT_TRUE(WaitUntil([&] { return server.hasPendingConnections(); }, 3000));
        QTcpSocket* peer = server.nextPendingConnection();
        const std::string stream = vtg + "\r\n" + rmc + "\r\n";
        peer->write(QByteArray::fromStdString(stream.substr(0, 30)));
        peer->flush();
        WaitUntil([] { return false; }, 50);
        peer->write(QByteArray::fromStdString(stream.substr(30)));
        ASSERT_TRUE(WaitUntil([&] { return reader.Texts().time == "17:19:48"; }, 3000));
        EXPECT_EQ(reader.Texts().speed, "0.06 Knots");
    }
    CGpsReader reader;
    std::string error;
    EXPECT_FALSE(reader.OpenNetwork({GpsNetwork::Udp, "not-an-address", 0}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(reader.Running());
}

} // namespace
} // namespace velmaris
