// The web view in a real browser: headless chromium loads the page from the
// station running against the simulated head, and the page's picture is
// held to the station's own picture of the same moment, through the same
// colour table; the texts match. Skips, saying why, only where chromium is
// missing or cannot start.
#include "controls/ControlTexts.h"
#include "image/RasterBlit.h"
#include "image/SectorClip.h"
#include "image/ViewSource.h"
#include "image/ViewTexts.h"
#include "image/qt/CVelmarisView.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/CVelmarisApp.h"
#include "shell/qt/StationWeb.h"
#include "station/CommandIds.h"
#include "support/LiveStation.h"
#include "support/SpinUntil.h"
#include "web/WebTexts.h"
#include "web/qt/WebServer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWebSocket>

#include <unistd.h>

namespace velmaris {
namespace {

// The DevTools protocol over the page's WebSocket: evaluates expressions.
class DevTools {
public:
    bool Open(const QString& url)
    {
        QObject::connect(&socket_, &QWebSocket::textMessageReceived, [this](const QString& text) {
            const QJsonObject reply = QJsonDocument::fromJson(text.toUtf8()).object();
            if (reply.value(QStringLiteral("id")).toInt() == id_)
                result_ = reply;
        });
        socket_.open(QUrl(url));
        return SpinUntil([&] { return socket_.state() == QAbstractSocket::ConnectedState; }, 10000);
    }
    // The value of `expression` (returned by value), or undefined after 10 s.
    QJsonValue Evaluate(const QString& expression)
    {
        result_ = {};
        const QJsonObject params {{"expression", expression}, {"returnByValue", true}};
        const QJsonObject call {{"id", ++id_}, {"method", "Runtime.evaluate"}, {"params", params}};
        socket_.sendTextMessage(QString::fromUtf8(QJsonDocument(call).toJson(QJsonDocument::Compact)));
        if (!SpinUntil([&] { return !result_.isEmpty(); }, 10000))
            return QJsonValue::Undefined;
        return result_[QStringLiteral("result")][QStringLiteral("result")][QStringLiteral("value")];
    }

    QString Error() const { return socket_.errorString(); }

private:
    QWebSocket socket_;
    int id_ = 0;
    QJsonObject result_;
};

QByteArray HttpGet(quint16 port, const QByteArray& path)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!SpinUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; }, 3000))
        return {};
    // DevTools builds its WebSocket addresses from the Host header.
    socket.write("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) + "\r\n\r\n");
    // DevTools keeps the connection: the head's Content-Length says when the body is in.
    QByteArray all;
    SpinUntil(
        [&] {
            all += socket.readAll();
            const qsizetype end = all.indexOf("\r\n\r\n");
            const qsizetype at = all.toLower().indexOf("content-length:");
            return end >= 0 && at >= 0
                && all.size() >= end + 4 + all.mid(at + 15, 12).trimmed().split('\r')[0].toInt();
        },
        5000);
    return all.mid(all.indexOf("\r\n\r\n") + 4);
}

class StationWebBrowserTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (browser_.state() != QProcess::NotRunning) {
            browser_.terminate();
            if (!browser_.waitForFinished(5000))
                browser_.kill();
            browser_.waitForFinished(5000);
        }
        station_.Stop();
    }

    // Starts chromium on `url`; an empty text when it runs, else why not.
    QString StartBrowser(const QString& url)
    {
        QString program = qEnvironmentVariable("VELMARIS_CHROMIUM");
        if (program.isEmpty())
            program = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (program.isEmpty())
            return QStringLiteral("chromium is not installed (Debian's package chromium)");
        QStringList args {"--headless", "--disable-gpu", "--no-first-run", "--disable-extensions",
            "--user-data-dir=" + profile_.path(), "--remote-debugging-port=0", "--window-size=1000,800", url};
        if (geteuid() == 0)
            args.prepend(QStringLiteral("--no-sandbox")); // chromium refuses root otherwise
        browser_.setProgram(program);
        browser_.setArguments(args);
        browser_.setProcessChannelMode(QProcess::MergedChannels);
        browser_.start();
        QFile active(profile_.filePath(QStringLiteral("DevToolsActivePort")));
        if (!SpinUntil([&] { return active.exists() || browser_.state() == QProcess::NotRunning; }, 30000)
            || !active.exists() || !active.open(QIODevice::ReadOnly))
            return "chromium did not start: " + QString::fromLocal8Bit(browser_.readAll().right(600));
        const quint16 port = quint16(active.readLine().trimmed().toUInt());
        const QJsonArray targets = QJsonDocument::fromJson(HttpGet(port, "/json/list")).array();
        for (const QJsonValue& target : targets)
            if (target[QStringLiteral("type")].toString() == QStringLiteral("page")
                && devTools_.Open(target[QStringLiteral("webSocketDebuggerUrl")].toString()))
                return {};
        return "chromium's DevTools offer no page: "
            + QString::fromUtf8(QJsonDocument(targets).toJson()).left(400) + devTools_.Error();
    }

    // Stops the head so the picture stands still, lets the last change
    // reach the page, and holds the page's canvas to the station's picture.
    void ExpectPageShowsTheStationsPicture()
    {
        station_.head->Stop();
        SpinUntil([] { return false; }, 1000);
        const QString dataUrl
            = devTools_.Evaluate("document.getElementById('picture').toDataURL('image/png')").toString();
        ASSERT_TRUE(dataUrl.startsWith(QStringLiteral("data:image/png;base64,")));
        const QImage page = QImage::fromData(QByteArray::fromBase64(dataUrl.mid(22).toLatin1()), "PNG")
                                .convertToFormat(QImage::Format_RGB32);

        const CVelmarisView* view = station_.app->Frame()->findChild<CVelmarisView*>();
        ASSERT_NE(view, nullptr);
        const SonarState& state = station_.app->Document()->State();
        const ViewGeometry geo = ComputeViewGeometry(view->width(), view->height(), state.settings.zoom,
            state.settings.sectorMode, view->Interaction().panX, view->Interaction().panY);
        QImage station(view->width(), view->height(), QImage::Format_RGB32);
        ComposeRasterFrame(state.raster, MakePixelLut(state.colors.Table(state.settings.colorTable)),
            geo.rasterLeft, geo.rasterTop, MakeViewClip(geo, state.settings, state.command),
            {reinterpret_cast<std::uint32_t*>(station.bits()), station.width(), station.height(),
                std::size_t(station.bytesPerLine()) / 4});
        ASSERT_EQ(page.size(), station.size());
        qint64 differing = 0;
        qint64 painted = 0;
        for (int y = 0; y < station.height(); ++y) {
            const QRgb* a = reinterpret_cast<const QRgb*>(page.constScanLine(y));
            const QRgb* b = reinterpret_cast<const QRgb*>(station.constScanLine(y));
            for (int x = 0; x < station.width(); ++x) {
                painted += (b[x] & 0xffffffu) != 0;
                differing += std::abs(qRed(a[x]) - qRed(b[x])) > 2
                    || std::abs(qGreen(a[x]) - qGreen(b[x])) > 2 || std::abs(qBlue(a[x]) - qBlue(b[x])) > 2;
            }
        }
        EXPECT_GT(painted, 1000) << "the station shows a picture to compare";
        EXPECT_LE(differing, qint64(station.width()) * station.height() / 1000)
            << "pixels off by more than 2 levels";
    }

    // Starts the station against the simulated head, its web view on, and
    // chromium on the page: an empty text, else why chromium cannot run.
    QString StartWatching(const char* folder)
    {
        station_.MakeFolder(folder);
        StationCommandLine line;
        line.webListen = "0";
        std::string error;
        if (!station_.Start("[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\n", line, &error)) {
            ADD_FAILURE() << error;
            return {};
        }
        const std::vector<std::string>& urls = station_.app->Web()->Urls();
        if (urls.size() != 1u) {
            ADD_FAILURE() << urls.size() << " addresses";
            return {};
        }
        return StartBrowser(QString::fromStdString(urls[0]));
    }

    QTemporaryDir profile_;
    QProcess browser_;
    DevTools devTools_;
    test::LiveStation station_;
};

TEST_F(StationWebBrowserTest, PageShowsTheStationsPictureAndTexts)
{
    const QString why = StartWatching("webbrowser");
    ASSERT_FALSE(HasFailure());
    if (!why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    CMainFrame& frame = *station_.app->Frame();
    frame.DispatchCommand(cmd::kColorTableFirst + 5); // "&Brown / Yellow": the page follows the table
    ASSERT_TRUE(SpinUntil([&] { return devTools_.Evaluate("velmarisPage.frames").toInt() >= 5; }, 20000))
        << "no frames reached the page";
    ExpectPageShowsTheStationsPicture();

    const CVelmarisView* view = frame.findChild<CVelmarisView*>();
    ASSERT_NE(view, nullptr);
    const SonarState& state = station_.app->Document()->State();
    SonarSettings shown = state.settings;
    shown.viewRangeMark = 1;
    const std::vector<ViewText> readouts = RangeReadouts(shown, state.command);
    const ViewStatus status = view->Source()->Status();
    const auto text = [&](const char* id) {
        return devTools_.Evaluate(QStringLiteral("document.getElementById('%1').textContent").arg(id))
            .toString()
            .toStdString();
    };
    SpinUntil([&] { return text("link") == LinkText(status); }, 2000);
    EXPECT_EQ(text("range"), readouts.front().text);
    EXPECT_EQ(text("gain"), readouts.back().text);
    EXPECT_EQ(text("mode"), ModeText(state.settings.sectorMode));
    EXPECT_EQ(text("head"), FormatText("%.1f\xc2\xb0", state.ping.headAngle));
    EXPECT_EQ(text("link"), LinkText(status));
}

// The waterfall scrolls every ping: the page is sent scrolls and new rows,
// and after many of them still shows the station's picture, in its pixels
// and in its indices.
TEST_F(StationWebBrowserTest, SideScanWaterfallReachesThePageAsScrolls)
{
    const QString why = StartWatching("webbrowserside");
    ASSERT_FALSE(HasFailure());
    if (!why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    station_.app->Frame()->DispatchCommand(cmd::kModeSideScan);
    ASSERT_TRUE(SpinUntil([&] { return devTools_.Evaluate("velmarisPage.scrolls").toInt() >= 10; }, 20000))
        << "no scrolls reached the page";
    // A new colour table repaints the page from its moved indices.
    station_.app->Frame()->DispatchCommand(cmd::kColorTableFirst + 5);
    ExpectPageShowsTheStationsPicture();
}

} // namespace
} // namespace velmaris
