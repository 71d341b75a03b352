// The station program from start to shutdown against the simulated head on
// loopback: it connects, paints pings, and saves its settings when it is
// told to end.

#include "sim/TcpHeadServer.h"
#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <QImage>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace velmaris {
namespace {

namespace fs = std::filesystem;
using tool::test::ToolProcess;

std::string StationPath()
{
    return std::string(VELMARIS_BINARY_DIR) + "/bin/velmaris";
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class StationProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("velmaris-station-" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        ini_ = dir_ / "Velmaris.INI";
        std::ofstream(ini_) << "[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\nUDP Mode=0\nGrid=2\n";
        sim::TcpHeadOptions options;
        options.address = "127.0.0.1:0";
        head_ = std::make_unique<sim::TcpHeadServer>(options);
        std::string error;
        ASSERT_TRUE(head_->Start(&error)) << error;
    }
    void TearDown() override
    {
        head_.reset();
        fs::remove_all(dir_);
    }
    std::vector<std::string> Environment() const
    {
        return {"QT_QPA_PLATFORM=offscreen", "VELMARIS_HEAD_PORT=" + std::to_string(head_->Port()),
            "VELMARIS_UDP_PORT=0", "XDG_RUNTIME_DIR=" + dir_.string()};
    }
    bool WaitForPings(std::uint64_t pings, int timeoutMs) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (head_->Pings() < pings) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    fs::path dir_;
    fs::path ini_;
    std::unique_ptr<sim::TcpHeadServer> head_;
};

TEST_F(StationProcess, PingsTheHeadAndSavesItsSettingsOnSigterm)
{
    ASSERT_TRUE(fs::exists(StationPath()));
    ToolProcess station(StationPath(), {"--ini", ini_.string()}, Environment());
    ASSERT_TRUE(station.Started());
    ASSERT_TRUE(WaitForPings(10, 20000)) << "the station never pinged the head";
    station.Signal(SIGTERM);
    EXPECT_EQ(station.Wait(), 0) << station.ReadAllErrors();
    const std::string saved = ReadAll(ini_);
    EXPECT_NE(saved.find("[Sonar Settings]"), std::string::npos) << saved;
    EXPECT_NE(saved.find("IP Address=127.0.0.1"), std::string::npos);
    EXPECT_NE(saved.find("Grid=2"), std::string::npos);
}

TEST_F(StationProcess, PaintsTheLivePingsItReceives)
{
    const fs::path shot = dir_ / "station.png";
    ToolProcess station(StationPath(),
        {"--ini", ini_.string(), "--run-for", "3", "--screenshot", shot.string()}, Environment());
    ASSERT_TRUE(station.Started());
    EXPECT_EQ(station.Wait(), 0) << station.ReadAllErrors();
    EXPECT_GT(head_->Pings(), 5u);
    QImage image(QString::fromStdString(shot.string()));
    ASSERT_FALSE(image.isNull());
    // Somewhere in the window the fan shows echoes: colours other than black
    // and the grid's and texts' fixed colours.
    int painted = 0;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            const QRgb c = image.pixel(x, y);
            if (qBlue(c) > 40 && qRed(c) < 60)
                ++painted;
        }
    }
    EXPECT_GT(painted, 200);
}

} // namespace
} // namespace velmaris
