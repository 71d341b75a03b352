#pragma once
// One ping cycle on silent links, for the fuzz targets of the live and UDP
// paths: timers that only remember what is armed (the target fires them),
// links that send nothing, windows that show nothing, a clock that moves a
// millisecond per reading and a fixed local time. The state, its 16 MB
// raster and the cycle are built once per process; Reset() puts back the
// settings, command and ping of a fresh start between inputs without
// touching the raster, so an input costs what its pings cost.

#include "files/DataFile.h"
#include "files/RecordWriter.h"
#include "files/Reporter.h"
#include "image/SonarState.h"
#include "links/CTimer.h"
#include "links/Links.h"
#include "station/PingCycle.h"

#include <cstdint>
#include <set>

namespace velmaris::fuzz {

class ArmedTimers final : public TimerHost {
public:
    void SetTimer(int id, int) override { armed.insert(id); }
    void KillTimer(int id) override { armed.erase(id); }
    // Fires `id` when armed; false otherwise.
    bool Fire(LinkEvents& events, int id)
    {
        if (armed.erase(id) == 0)
            return false;
        events.OnTimer(id);
        return true;
    }
    std::set<int> armed;
};

class SilentSerial final : public SerialLink {
public:
    SerialOpenResult Open(int, int, bool) override { return SerialOpenResult::Ok; }
    void RequestTransfer(std::span<const std::uint8_t, kCommandSize> command) override
    {
        last = std::array<std::uint8_t, kCommandSize> {};
        std::copy(command.begin(), command.end(), last.begin());
        ++transfers;
    }
    void SetSuspended(bool) override { }
    void SetRtsMode(bool) override { }
    void Close() override { }
    void Quit() override { }
    std::array<std::uint8_t, kCommandSize> last {};
    int transfers = 0;
};

class SilentTcp final : public TcpLink {
public:
    bool Connect(const std::string&, int) override { return true; }
    bool Send(std::span<const std::uint8_t> bytes) override
    {
        sent += bytes.size();
        return true;
    }
    void Close() override { }
    std::size_t sent = 0;
};

class SilentUdp final : public UdpLink {
public:
    bool Open(int) override { return true; }
    void Close() override { }
};

class BlindUi final : public CycleUi {
public:
    void UpdateAllViews() override { }
    void RefreshStatusLine() override { }
    void RefreshDiagnostics() override { }
    void ResetDiagnostics() override { }
    void SetWindowTitle(const std::string&) override { }
    void SetControlBars(ControlBars) override { }
    void RefreshSettingsPanel() override { }
    void HidePlaybackProgress() override { }
    void SettingsLoaded() override { }
};

class MuteReporter final : public Reporter {
public:
    void Report(const std::string&, MessageIcon) override { ++messages; }
    int messages = 0;
};

// A millisecond per reading, so loop times are real numbers and never zero.
class SteppingClock final : public Clock {
public:
    std::int64_t Ticks() const override { return ticks_ += 1000; }
    std::int64_t TicksPerSecond() const override { return 1'000'000; }

private:
    mutable std::int64_t ticks_ = 0;
};

inline LocalTime FixedLocalTime()
{
    return LocalTime {2026, 12, 7, 14, 30, 5, 420};
}

struct StationRig {
    StationRig()
        : recorder(reporter)
        , cycle(state, CycleLinks {timers, serial, tcp, udp}, clock, reporter, ui, recorder, playback)
        , freshSettings(state.settings)
        , freshCommand(state.command)
    {
        cycle.SetLocalTimeSource(&FixedLocalTime);
    }

    // The settings, command and ping of a fresh start with `sonarType` and
    // `udpMode`; the raster and the scan-line history stay as they are.
    void Reset(SonarType sonarType, int udpMode)
    {
        state.settings = freshSettings;
        state.settings.sonarType = sonarType;
        state.settings.udpMode = udpMode;
        state.settings.zoom = 0.5; // a quarter of the pixels per ping, the same code
        state.command = freshCommand;
        state.ping = PingRecord {};
        state.flags = DocumentFlags {};
        timers.armed.clear();
    }

    ArmedTimers timers;
    SilentSerial serial;
    SilentTcp tcp;
    SilentUdp udp;
    BlindUi ui;
    MuteReporter reporter;
    SteppingClock clock;
    SonarState state;
    RecordWriter recorder;
    DataFile playback;
    PingCycle cycle;
    SonarSettings freshSettings;
    CommandMessage freshCommand;
};

// The shared rig of this process.
inline StationRig& Rig()
{
    static StationRig* rig = new StationRig; // never destroyed: the fuzzer exits without unwinding
    return *rig;
}

// Traps unless the state is one the station can show and the head can take.
inline void CheckState(const SonarState& state)
{
    if (state.settings.rangeIndex < 0 || state.settings.rangeIndex >= kRangeCount)
        __builtin_trap();
    if (state.ping.headPosition < 0 || state.ping.headPosition > 8191)
        __builtin_trap();
    if (!DisplayModeForCode(CodeOf(state.settings.sectorMode)))
        __builtin_trap();
}

} // namespace velmaris::fuzz
