// The station in-process against the simulated boat's GPS over UDP on
// loopback (--gps udp://127.0.0.1:PORT): the cursor's latitude and
// longitude join the read-outs in the status bar once the pings on screen
// have a position and a heading, and stay away without a GPS.

#include "image/qt/CVelmarisView.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/CVelmarisApp.h"
#include "sim/GpsSender.h"
#include "support/LiveStation.h"
#include "support/SpinUntil.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMouseEvent>
#include <QUdpSocket>

#include <regex>

namespace velmaris {
namespace {

int FreeUdpPort()
{
    QUdpSocket socket;
    return socket.bind(QHostAddress::LocalHost, 0) ? socket.localPort() : 0;
}

class CursorPositionTest : public ::testing::Test {
protected:
    void Start(const std::string& gps)
    {
        station_.MakeFolder("cursor-position");
        StationCommandLine line;
        line.gpsDevice = gps;
        std::string error;
        ASSERT_TRUE(station_.Start("[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\n", line, &error))
            << error;
        view_ = station_.app->Frame()->findChild<CVelmarisView*>();
        ASSERT_NE(view_, nullptr);
    }
    void TearDown() override { station_.Stop(); }
    // A move 100 pixels right of the middle: bearing 90 on the screen.
    void MoveRightOfTheOrigin() const
    {
        const QPointF at(view_->width() / 2 + 100, view_->height() / 2);
        QMouseEvent move(
            QEvent::MouseMove, at, view_->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view_, &move);
    }
    QLabel* PositionPane() const
    {
        return station_.app->Frame()->findChild<QLabel*>(QStringLiteral("positionPane"));
    }
    bool PositionShown() const { return PositionPane() != nullptr && PositionPane()->isVisible(); }
    bool PingShown() const { return !station_.app->Document()->State().ping.time.empty(); }

    test::LiveStation station_;
    CVelmarisView* view_ = nullptr;
};

TEST_F(CursorPositionTest, TheSimulatedBoatsGpsPlacesTheCursor)
{
    const int port = FreeUdpPort();
    ASSERT_NE(port, 0);
    Start("udp://127.0.0.1:" + std::to_string(port));
    ASSERT_TRUE(SpinUntil([&] { return PingShown(); }, 5000));
    MoveRightOfTheOrigin();
    EXPECT_FALSE(PositionShown()) << "no sentence yet: no position";

    sim::GpsSenderOptions options;
    options.udp = "127.0.0.1:" + std::to_string(port);
    options.feed.talker = "GN";
    options.feed.rateHz = 5.0;
    sim::GpsSender gps(options);
    std::string error;
    ASSERT_TRUE(gps.Start(&error)) << error;
    ASSERT_TRUE(SpinUntil(
        [&] {
            MoveRightOfTheOrigin();
            return PositionShown();
        },
        8000));
    const std::string text = PositionPane()->text().toStdString();
    std::smatch m;
    ASSERT_TRUE(std::regex_match(
        text, m, std::regex("(\\d\\d)\u00b0(\\d\\d\\.\\d{3})'N (\\d{3})\u00b0(\\d\\d\\.\\d{3})'E")))
        << text;
    const double latitude = std::stod(m[1]) + std::stod(m[2]) / 60.0;
    const double longitude = std::stod(m[3]) + std::stod(m[4]) / 60.0;
    EXPECT_NEAR(latitude, options.boat.start.latitude, 0.01) << "near the boat's start: " << text;
    EXPECT_NEAR(longitude, options.boat.start.longitude, 0.02) << text;
    gps.Stop();
}

TEST_F(CursorPositionTest, WithoutAGpsTheReadoutsAreAsEver)
{
    Start("");
    ASSERT_TRUE(SpinUntil([&] { return PingShown(); }, 5000));
    MoveRightOfTheOrigin();
    SpinUntil([] { return false; }, 300);
    EXPECT_FALSE(PositionShown());
}

} // namespace
} // namespace velmaris
