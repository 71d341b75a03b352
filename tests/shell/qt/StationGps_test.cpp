// The station in-process with GPS input from --gps on a pseudo-terminal, and
// the IP address command through its dialog.

#include "controls/qt/CDiagDlg.h"
#include "controls/qt/CIPAddressDlg.h"
#include "shell/qt/AccessPoints.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/CVelmarisApp.h"
#include "sim/TcpHeadServer.h"
#include "station/CVelmarisDoc.h"
#include "station/CommandIds.h"
#include "support/LiveStation.h"
#include "support/PtyPeer.h"
#include "support/SpinUntil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace velmaris {
namespace {

namespace fs = std::filesystem;

class StationGpsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(receiver_.Ok());
        station_.MakeFolder("gps");
        const std::string iniText = "[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\nUseGPS=1\n"
                                    "[Serial Devices]\nCOM6="
            + receiver_.Path() + "\n";
        initialIni_ = iniText;
        StationCommandLine line;
        line.gpsDevice = "COM6"; // through the mapping
        line.gpsBaud = 4800;
        std::string error;
        ASSERT_TRUE(station_.Start(iniText, line, &error)) << error;
    }
    void TearDown() override { station_.Stop(); }
    QLabel* GpsPane() const { return app_->Frame()->findChild<QLabel*>(QStringLiteral("gpsPane")); }
    std::string IniText() const
    {
        std::ifstream in(ini_);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    test::PtyPeer receiver_;
    test::LiveStation station_;
    const fs::path& ini_ = station_.ini;
    std::string initialIni_;
    std::unique_ptr<CVelmarisApp>& app_ = station_.app;
};

TEST_F(StationGpsTest, CommandLineGpsShowsItsTextsAndLeavesUseGpsOff)
{
    EXPECT_EQ(app_->Document()->State().settings.useGps, 0) << "every settings load leaves GPS off";
    ASSERT_TRUE(SpinUntil([&] { return GpsPane() != nullptr && GpsPane()->isVisible(); }, 2000));
    EXPECT_TRUE(GpsPane()->text().startsWith(QStringLiteral("GPS n/a"))) << GpsPane()->text().toStdString();
    receiver_.Send("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n");
    ASSERT_TRUE(SpinUntil([&] { return GpsPane()->text().contains(QStringLiteral("12:35:19")); }, 3000));
    EXPECT_EQ(GpsPane()->text().toStdString(),
        "GPS 12:35:19 23-MAR-1994  48.07.038 N  011.31.000 E  22.40 Knots  84.40 Deg.");
    // The diagnostics window lists the same texts as extra lines.
    CDiagDlg* diag = AccessPoints::Diagnostics();
    ASSERT_NE(diag, nullptr);
    QStringList shown;
    for (const QLabel* label : diag->findChildren<QLabel*>())
        shown << label->text();
    EXPECT_TRUE(shown.contains(QStringLiteral("48.07.038 N"))) << shown.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("84.40 Deg."))) << shown.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(IniText(), initialIni_) << "the switch writes nothing to the INI";
}

// While recording, the sentences from the --gps receiver go into the track
// beside the data file, whole lines with the host's stamp.
TEST_F(StationGpsTest, RecordingWithGpsWritesTheTrackBesideTheDataFile)
{
    const std::string data = (station_.dir / "dive.52l").string();
    ASSERT_TRUE(app_->Document()->RecordingControl().OpenRecordFile(data));
    const std::string rmc = "$GNRMC,174432.10,A,5926.1230,N,01041.4560,E,4.8,92.5,091226,,,A*6B";
    receiver_.Send(rmc + "\r\n$HEHDT,92.0,T\r\n");
    const auto track = [&] {
        std::ifstream in(data + ".nmea", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    ASSERT_TRUE(SpinUntil([&] { return track().ends_with("\t$HEHDT,92.0,T\r\n"); }, 3000)) << track();
    app_->Document()->RecordingControl().StartStop(); // stops
    const std::string text = track();
    const std::size_t tab = text.find('\t');
    ASSERT_EQ(tab, 28u) << text; // "2026-12-09T18:44:32.17+01:00"
    EXPECT_EQ(text.substr(tab + 1, rmc.size() + 2), rmc + "\r\n");
    EXPECT_EQ(text[10], 'T');
    EXPECT_EQ(text[19], '.');
}

TEST_F(StationGpsTest, IpAddressCommandStoresWhatTheDialogGives)
{
    QTimer::singleShot(50, [] {
        auto* dialog = qobject_cast<CIPAddressDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->Part(0)->text(), QStringLiteral("127"));
        dialog->Part(3)->setText(QStringLiteral("2"));
        dialog->OkButton()->click();
    });
    app_->Frame()->DispatchCommand(cmd::kIpAddress);
    EXPECT_EQ(app_->Document()->State().settings.ipAddress, "127.0.0.2");
    EXPECT_NE(IniText().find("IP Address=127.0.0.2"), std::string::npos);
}

} // namespace
} // namespace velmaris
