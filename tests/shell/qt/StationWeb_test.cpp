// The station in-process with --web against the fast simulated head: the
// token, the viewer limit, a viewer that never reads, and frames arriving.
#include "shell/qt/CVelmarisApp.h"
#include "shell/qt/StationWeb.h"
#include "support/LiveStation.h"
#include "support/SpinUntil.h"
#include "web/qt/WebServer.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTcpSocket>
#include <QWebSocket>

#include <memory>
#include <vector>

namespace velmaris {
namespace {

// One request on its own connection; what came back before the server closed.
QByteArray Exchange(quint16 port, const QByteArray& request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!SpinUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; }, 3000))
        return "not connected";
    socket.write(request);
    SpinUntil([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, 6000);
    return socket.readAll();
}

struct Viewer {
    QWebSocket socket;
    int frames = 0;
    int palettes = 0;
    int states = 0;
    QString lastState;
    bool refused = false;

    explicit Viewer(const QString& url)
    {
        QObject::connect(&socket, &QWebSocket::binaryMessageReceived, [this](const QByteArray& m) {
            frames += m.startsWith('F');
            palettes += m.startsWith('P');
        });
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString& m) {
            ++states;
            lastState = m;
        });
        QObject::connect(&socket, &QWebSocket::disconnected, [this] { refused = true; });
        socket.open(QUrl(url));
    }
    bool Open() const { return socket.state() == QAbstractSocket::ConnectedState; }
};

class StationWebTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        station_.MakeFolder("web");
        StationCommandLine line;
        line.webListen = "0"; // loopback, any free port
        std::string error;
        ASSERT_TRUE(station_.Start("[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\n", line, &error))
            << error;
        ASSERT_NE(station_.app->Web(), nullptr);
        server_ = station_.app->Web()->Server();
        ASSERT_NE(server_, nullptr);
        port_ = server_->Port();
        token_ = QString::fromStdString(server_->Token());
    }
    QString SocketUrl() const
    {
        return QStringLiteral("ws://127.0.0.1:%1/ws?token=%2").arg(port_).arg(token_);
    }

    test::LiveStation station_;
    WebServer* server_ = nullptr;
    quint16 port_ = 0;
    QString token_;
};

TEST_F(StationWebTest, WithoutTheTokenOnly403AndNothingChanges)
{
    ASSERT_EQ(station_.app->Web()->Urls().size(), 1u);
    EXPECT_EQ(station_.app->Web()->Urls()[0],
        "http://127.0.0.1:" + std::to_string(port_) + "/?token=" + token_.toStdString());
    const QLabel* pane = station_.app->Frame()->findChild<QLabel*>(QStringLiteral("webPane"));
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(pane->text().contains(token_)) << pane->text().toStdString();

    const QByteArray forbidden = "HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    EXPECT_EQ(Exchange(port_, "GET / HTTP/1.1\r\nHost: x\r\n\r\n"), forbidden);
    EXPECT_EQ(Exchange(port_, "GET /?token=00" + token_.toLatin1() + " HTTP/1.1\r\n\r\n"), forbidden);
    EXPECT_EQ(Exchange(port_,
                  "GET /ws HTTP/1.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                  "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n"),
        forbidden);
    // With the token nothing but the page and the stream exists, and nothing is written.
    const QByteArray token = token_.toLatin1();
    EXPECT_TRUE(Exchange(port_, "POST /?token=" + token + " HTTP/1.1\r\nContent-Length: 0\r\n\r\n")
                    .startsWith("HTTP/1.1 405 "));
    EXPECT_TRUE(Exchange(port_, "GET /Velmaris.INI?token=" + token + " HTTP/1.1\r\n\r\n")
                    .startsWith("HTTP/1.1 404 "));
    const QByteArray page = Exchange(port_, "GET /?token=" + token + " HTTP/1.1\r\n\r\n");
    EXPECT_TRUE(page.startsWith("HTTP/1.1 200 OK\r\n"));
    EXPECT_TRUE(page.contains("<canvas id=\"picture\""));
    EXPECT_FALSE(page.contains("http://")) << "nothing is loaded from elsewhere";
    // A client that never finishes its request is closed after the time-out.
    EXPECT_TRUE(Exchange(port_, "GET /?token=").startsWith("HTTP/1.1 408 "));
}

TEST_F(StationWebTest, FramesArriveAndANinthViewerIsRefused)
{
    std::vector<std::unique_ptr<Viewer>> viewers;
    for (int i = 0; i < kMaxWebViewers; ++i)
        viewers.push_back(std::make_unique<Viewer>(SocketUrl()));
    ASSERT_TRUE(SpinUntil([&] { return server_->ViewerCount() == kMaxWebViewers; }, 5000));
    // Frames keep coming while the head pings: the fan turns.
    ASSERT_TRUE(SpinUntil(
        [&] {
            for (const auto& v : viewers)
                if (v->frames < 4)
                    return false;
            return true;
        },
        8000));
    for (const auto& v : viewers) {
        EXPECT_EQ(v->palettes, 1) << "the colour table is sent once while it stays";
        EXPECT_GE(v->states, 1);
        EXPECT_TRUE(v->lastState.contains(QStringLiteral("\"mode\":\"Polar\"")))
            << v->lastState.toStdString();
    }

    Viewer ninth(SocketUrl());
    ASSERT_TRUE(SpinUntil([&] { return ninth.refused; }, 5000));
    EXPECT_FALSE(ninth.Open());
    const QByteArray upgrade = "GET /ws?token=" + token_.toLatin1()
        + " HTTP/1.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
          "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n";
    EXPECT_TRUE(Exchange(port_, upgrade).startsWith("HTTP/1.1 503 "));
    EXPECT_EQ(server_->ViewerCount(), kMaxWebViewers);

    viewers.pop_back(); // one leaves: the next is let in
    ASSERT_TRUE(SpinUntil([&] { return server_->ViewerCount() == kMaxWebViewers - 1; }, 3000));
    Viewer next(SocketUrl());
    EXPECT_TRUE(SpinUntil([&] { return next.frames > 0; }, 5000));
}

TEST_F(StationWebTest, AViewerThatNeverReadsCostsABoundedBuffer)
{
    // A WebSocket client that completes the handshake and then reads nothing:
    // the kernel's buffers fill, then the station's.
    QTcpSocket stalled;
    stalled.setReadBufferSize(4096);
    stalled.connectToHost(QHostAddress::LocalHost, port_);
    ASSERT_TRUE(SpinUntil([&] { return stalled.state() == QAbstractSocket::ConnectedState; }, 3000));
    stalled.write("GET /ws?token=" + token_.toLatin1()
        + " HTTP/1.1\r\nHost: x\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
          "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n");
    ASSERT_TRUE(SpinUntil([&] { return server_->ViewerCount() == 1; }, 5000));
    ASSERT_TRUE(SpinUntil([&] { return server_->FramesDropped() > 0; }, 30000))
        << "frames sent " << server_->FramesSent() << ", unsent bytes " << server_->UnsentBytes();

    // From now on the station holds at most the pacing bound and one frame
    // for it, however many pings it paints.
    const QSize view = station_.app->Frame()->size();
    const qint64 bound
        = qint64(kMaxUnsentBytes + kFrameHeaderBytes) + qint64(view.width()) * view.height() + 64;
    const quint64 sentBefore = server_->FramesSent();
    const quint64 droppedBefore = server_->FramesDropped();
    qint64 most = 0;
    SpinUntil(
        [&] {
            most = std::max(most, server_->UnsentBytes());
            return false;
        },
        2000);
    EXPECT_LE(most, bound);
    EXPECT_GT(server_->FramesDropped(), droppedBefore + 5) << "the ticks go on dropping";
    EXPECT_LE(server_->FramesSent(), sentBefore + 1);
    // The station goes on pinging regardless.
    const int pings = station_.app->Document()->State().ping.pingCount;
    EXPECT_TRUE(
        SpinUntil([&] { return station_.app->Document()->State().ping.pingCount > pings + 5; }, 3000));
}

// The station closes while a client has not finished its request: the
// connection goes with the server, without calling back into it.
TEST_F(StationWebTest, ClosingWithARequestUnderWayIsClean)
{
    QTcpSocket unfinished;
    unfinished.connectToHost(QHostAddress::LocalHost, port_);
    ASSERT_TRUE(SpinUntil([&] { return unfinished.state() == QAbstractSocket::ConnectedState; }, 3000));
    unfinished.write("GET /?token=");
    SpinUntil([] { return false; }, 200);
    station_.Stop();
    EXPECT_TRUE(SpinUntil([&] { return unfinished.state() == QAbstractSocket::UnconnectedState; }, 3000));
}

} // namespace
} // namespace velmaris
