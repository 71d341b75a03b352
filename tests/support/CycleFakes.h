#pragma once
// Fakes around the ping cycle: a clock the test moves, a timer host that
// records what is armed and lets the test fire it, links that record what
// the cycle sends, a recording reporter and a recording window interface.

#include "files/Reporter.h"
#include "files/SettingsFile.h"
#include "links/CTimer.h"
#include "links/Links.h"
#include "protocol/TimeStamp.h"
#include "station/CVelmarisDoc.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velmaris::testing {

class FakeClock final : public Clock {
public:
    std::int64_t Ticks() const override { return ticks; }
    std::int64_t TicksPerSecond() const override { return 1'000'000; } // microseconds
    void AdvanceMs(double ms) { ticks += static_cast<std::int64_t>(ms * 1000.0); }
    std::int64_t ticks = 5'000'000;
};

class FakeTimerHost final : public TimerHost {
public:
    void SetTimer(int id, int ms) override { armed[id] = ms; }
    void KillTimer(int id) override { armed.erase(id); }

    std::optional<int> Armed(int id) const
    {
        const auto it = armed.find(id);
        return it == armed.end() ? std::nullopt : std::optional<int>(it->second);
    }
    // Fires timer `id` when it is armed (a one-shot expiry); false otherwise.
    bool Fire(int id)
    {
        if (!armed.count(id))
            return false;
        armed.erase(id);
        events->OnTimer(id);
        return true;
    }

    std::map<int, int> armed;
    LinkEvents* events = nullptr;
};

class FakeSerialLink final : public SerialLink {
public:
    SerialOpenResult Open(int comPort, int baud, bool rtsMode) override
    {
        opens.push_back({comPort, baud, rtsMode});
        return openResult;
    }
    void RequestTransfer(std::span<const std::uint8_t, kCommandSize> command) override
    {
        std::array<std::uint8_t, kCommandSize> copy {};
        std::copy(command.begin(), command.end(), copy.begin());
        transfers.push_back(copy);
    }
    void SetSuspended(bool s) override { suspended = s; }
    void SetRtsMode(bool r) override { rts = r; }
    void Close() override { ++closes; }
    void Quit() override { ++quits; }

    struct OpenCall {
        int port;
        int baud;
        bool rts;
    };
    SerialOpenResult openResult = SerialOpenResult::Ok;
    std::vector<OpenCall> opens;
    std::vector<std::array<std::uint8_t, kCommandSize>> transfers;
    bool suspended = false;
    bool rts = false;
    int closes = 0;
    int quits = 0;
};

class FakeTcpLink final : public TcpLink {
public:
    bool Connect(const std::string& host, int port) override
    {
        connects.push_back({host, port});
        return connectResult;
    }
    // Records what the socket took; with `sendResult` false it takes nothing.
    bool Send(std::span<const std::uint8_t> bytes) override
    {
        if (sendResult)
            sent.emplace_back(bytes.begin(), bytes.end());
        return sendResult;
    }
    void Close() override { ++closes; }

    bool connectResult = true;
    bool sendResult = true;
    std::vector<std::pair<std::string, int>> connects;
    std::vector<std::vector<std::uint8_t>> sent;
    int closes = 0;
};

class FakeUdpLink final : public UdpLink {
public:
    bool Open(int port) override
    {
        opens.push_back(port);
        return openResult;
    }
    void Close() override { ++closes; }

    bool openResult = true;
    std::vector<int> opens;
    int closes = 0;
};

class RecordingReporter final : public Reporter {
public:
    void Report(const std::string& text, MessageIcon icon) override
    {
        messages.push_back(text);
        icons.push_back(icon);
    }
    std::vector<std::string> messages;
    std::vector<MessageIcon> icons;
};

class RecordingUi final : public DocumentUi {
public:
    void UpdateAllViews() override { ++viewUpdates; }
    bool FrameAwaited() const override { return frameAwaited; }
    void RefreshStatusLine() override { ++statusRefreshes; }
    void RefreshDiagnostics() override { ++diagnosticsRefreshes; }
    void ResetDiagnostics() override { ++diagnosticsResets; }
    void SetWindowTitle(const std::string& t) override { title = t; }
    void SetControlBars(ControlBars b) override { bars = b; }
    void RefreshSettingsPanel() override { ++panelRefreshes; }
    void HidePlaybackProgress() override { ++progressHides; }
    void SettingsLoaded() override { ++settingsLoads; }
    void RefreshMiniSettingsBar() override { ++miniBarRefreshes; }
    bool SettingsPanelExists() const override { return panelExists; }
    void RepaintAllViews() override { ++repaints; }
    void CreateFloatingWindows() override { ++floatingWindowsCreated; }

    int viewUpdates = 0;
    bool frameAwaited = false; // a paced view still owes a frame
    int statusRefreshes = 0;
    int diagnosticsRefreshes = 0;
    int diagnosticsResets = 0;
    std::string title;
    std::optional<ControlBars> bars;
    int panelRefreshes = 0;
    int progressHides = 0;
    int settingsLoads = 0;
    int miniBarRefreshes = 0;
    bool panelExists = true;
    int repaints = 0;
    int floatingWindowsCreated = 0;
};

inline LocalTime FixedLocalTime()
{
    return LocalTime {2026, 12, 7, 14, 30, 5, 420};
}

// A reply as the head sends it: 'IMX' 265, 'IGX' 513 or 'IPX' 13 bytes.
inline std::vector<std::uint8_t> MakeReply(
    char kind = 'G', int headPosition = 600, int range = 30, std::uint8_t echo = 80)
{
    const std::size_t length = kind == 'M' ? 265 : kind == 'P' ? 13 : 513;
    const int count = kind == 'M' ? 250 : kind == 'P' ? 0 : 500;
    std::vector<std::uint8_t> reply(length, echo);
    reply[0] = 'I';
    reply[1] = static_cast<std::uint8_t>(kind);
    reply[2] = 'X';
    reply[3] = 0x10;
    reply[4] = 0x01;
    reply[5] = static_cast<std::uint8_t>(headPosition & 0x7F);
    reply[6] = static_cast<std::uint8_t>((headPosition >> 7) & 0x3F);
    reply[7] = static_cast<std::uint8_t>(range);
    reply[8] = 0x10;
    reply[9] = 0x02;
    reply[10] = static_cast<std::uint8_t>(count & 0x7F);
    reply[11] = static_cast<std::uint8_t>(count >> 7);
    return reply;
}

// Reloads one settings file into a state, as the document does for its cycle.
class FileSettingsReloader final : public SettingsReloader {
public:
    FileSettingsReloader(SonarState& state, std::string iniPath)
        : state_(state)
        , iniPath_(std::move(iniPath))
    { }
    void ReloadSettings() override
    {
        LoadSettingsFile(iniPath_, state_.settings, state_.command, state_.ping,
            SettingsFileContext {state_.flags.playback});
    }

private:
    SonarState& state_;
    std::string iniPath_;
};

// The fakes a document or a ping cycle runs on, in one bundle that test
// fixtures inherit from (so the fakes are built before the document).
struct StationFakes {
    CycleLinks Links() { return CycleLinks {timers, serial, tcp, udp}; }

    FakeClock clock;
    FakeTimerHost timers;
    FakeSerialLink serial;
    FakeTcpLink tcp;
    FakeUdpLink udp;
    RecordingReporter reporter;
    RecordingUi ui;
};

} // namespace velmaris::testing
