#pragma once
// A ping cycle on fakes, with its own temporary folder for the INI file and
// record files.

#include "files/SettingsFile.h"
#include "station/PingCycle.h"
#include "support/CycleFakes.h"

#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>
#include <gtest/gtest.h>

namespace velmaris::testing {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path()
            / ("velmaris-" + name + "-" + std::to_string(::getpid()) + "-" + std::to_string(++count_)))
    {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    static inline int count_ = 0;
    std::filesystem::path path_;
};

struct CycleRig : StationFakes {
    CycleRig()
    {
        timers.events = &cycle;
        cycle.SetLocalTimeSource(&FixedLocalTime);
        cycle.Configure(CycleConfig {4040, 4040});
        cycle.SetSettingsReloader(&reloader);
    }

    // Writes the INI file the next start of real-time reloads.
    void SaveIni(SonarType sonarType, const std::string& ip = "127.0.0.1")
    {
        SonarSettings settings;
        CommandMessage command;
        InitialiseCommandMessage(command, settings);
        settings.sonarType = sonarType;
        settings.ipAddress = ip;
        ASSERT_TRUE(SaveSettingsFile(folder / "Velmaris.INI", settings, command, SettingsFileContext {}));
    }

    // A TCP head connected and its first command sent.
    void ConnectTcp()
    {
        SaveIni(SonarType::EthernetK52L);
        cycle.StartRealTime();
        cycle.OnTcpConnected(true);
        timers.Fire(kSendTimer);
    }

    // A serial head whose port opened and whose first command went out.
    void OpenSerial()
    {
        SaveIni(SonarType::SerialK52A);
        cycle.StartRealTime();
        timers.Fire(kWatchdogTimer);
        SerialHandOver();
    }

    // The worker's hand-over of a transfer that read `reply` and wrote the
    // command copied at the last request.
    void SerialHandOver(std::span<const std::uint8_t> reply = {})
    {
        std::span<const std::uint8_t> sent;
        if (!serial.transfers.empty())
            sent = serial.transfers.back();
        cycle.OnSerialTransfer(reply, true, sent);
    }

    AcquisitionState& Acq() { return cycle.Acquisition(); }

    ScratchFolder folder {"cycle"};
    std::unique_ptr<SonarState> owned = std::make_unique<SonarState>();
    SonarState& state = *owned;
    RecordWriter recorder {reporter};
    DataFile playbackFile;
    PingCycle cycle {state, Links(), clock, reporter, ui, recorder, playbackFile};
    FileSettingsReloader reloader {state, folder / "Velmaris.INI"};
};

} // namespace velmaris::testing
