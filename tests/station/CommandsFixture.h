#pragma once
// A document on fakes with its commands and recording hooks, and helpers
// that put it into the live, UDP and playback states.

#include "files/SettingsFile.h"
#include "station/CVelmarisDoc.h"
#include "station/DocumentCommands.h"
#include "support/CycleFakes.h"
#include "support/CycleRig.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmaris::testing {

class RecordingHooks final : public CommandHooks {
public:
    const ChartWriter* charts = nullptr; // none: targets export as CSV alone
    const ChartWriter* Charts() const override { return charts; }
    void OpenPlayback() override { calls.push_back("OpenPlayback"); }
    void ToggleRecording() override { calls.push_back("ToggleRecording"); }
    bool RealTimePlayAvailable() const override { return realTimeAvailable; }
    bool RealTimePlayOn() const override { return realTimeOn; }
    void ToggleRealTimePlay() override { calls.push_back("ToggleRealTimePlay"); }
    std::optional<std::string> ChooseRecordDirectory() override
    {
        calls.push_back("ChooseRecordDirectory");
        return folder;
    }
    std::optional<std::string> EditIpAddress(const std::string& current) override
    {
        calls.push_back("EditIpAddress " + current);
        return ipAddress;
    }
    bool ChooseComPorts(ComPortChoice& choice) override
    {
        calls.push_back("ChooseComPorts");
        offeredPorts = choice;
        if (portAnswer)
            choice = *portAnswer;
        return portAnswer.has_value();
    }
    void RestartGpsInput() override { calls.push_back("RestartGpsInput"); }
    std::optional<double> EditSoundVelocity(double current) override
    {
        calls.push_back("EditSoundVelocity");
        offeredSpeed = current;
        return speed;
    }
    void RunHotKeysHelp() override
    {
        calls.push_back("RunHotKeysHelp");
        if (whileHelpOpen)
            whileHelpOpen();
    }
    void RunAboutBox() override
    {
        calls.push_back("RunAboutBox");
        if (whileAboutOpen)
            whileAboutOpen();
    }
    void ShowSettingsPanel(bool show) override
    {
        calls.push_back(show ? "ShowSettingsPanel 1" : "ShowSettingsPanel 0");
        panelVisible = show;
    }
    std::optional<bool> SettingsPanelVisible() const override { return panelVisible; }
    void ShowDiagnostics(bool show) override
    {
        calls.push_back(show ? "ShowDiagnostics 1" : "ShowDiagnostics 0");
        diagnosticsVisible = show;
    }
    std::optional<bool> DiagnosticsVisible() const override { return diagnosticsVisible; }
    void ShowKeyIn(KeyInKind kind, const std::optional<std::string>& prompt) override
    {
        static constexpr const char* kNames[] {"Range", "Gain", "SectorWidth", "Train"};
        calls.push_back(std::string("ShowKeyIn ") + kNames[static_cast<std::size_t>(kind)] + " "
            + prompt.value_or("(kept)"));
    }
    void UpdateAllViews(int hint) override { hints.push_back(hint); }
    void SaveScreen() override { calls.push_back("SaveScreen"); }
    void ToggleMeasureMode() override
    {
        calls.push_back("ToggleMeasureMode");
        measureOn = !measureOn;
    }
    bool MeasureModeOn() const override { return measureOn; }

    std::vector<std::string> calls;
    std::vector<int> hints;
    bool realTimeAvailable = false;
    bool realTimeOn = false;
    std::optional<std::string> folder;
    std::optional<std::string> ipAddress;
    std::optional<ComPortChoice> portAnswer;
    ComPortChoice offeredPorts;
    std::optional<double> speed;
    double offeredSpeed = 0.0;
    std::function<void()> whileHelpOpen;
    std::function<void()> whileAboutOpen;
    std::optional<bool> panelVisible;
    std::optional<bool> diagnosticsVisible;
    bool measureOn = false;
};

class CountingObserver final : public CommandStateObserver {
public:
    void CommandStatesChanged() override { ++count; }
    int count = 0;
};

class CommandsTest : public ::testing::Test, protected StationFakes {
protected:
    CommandsTest()
    {
        timers.events = &doc.Events();
        // The operator's settings file (without one the station waits for a
        // head to be chosen).
        std::ofstream(iniPath) << "[System Settings]\nSonarComPort=1\n";
        doc.Initialise(DocumentSetup {iniPath, folder / "data/", 14040, 15040});
        commands.SetStateObserver(&observer);
    }

    SonarState& State() { return doc.State(); }
    SonarSettings& Settings() { return doc.State().settings; }
    AcquisitionState& Acq() { return doc.Cycle().Acquisition(); }

    // Live with the serial head, port opened.
    void GoLiveSerial()
    {
        Settings().sonarType = SonarType::SerialK52A;
        doc.SaveSettings();
        doc.Cycle().StartRealTime();
    }
    void GoUdp() { ASSERT_TRUE(doc.Cycle().StartUdpMode()); }
    // A playback file is open (the playback code sets this flag).
    void GoPlayback() { State().flags.playback = true; }
    std::string IniValue(const char* section, const char* key)
    {
        SettingsFile file(iniPath);
        if (!file.Read())
            return "(no file)";
        return file.Value(section, key).value_or("(none)");
    }
    void ClearRecords()
    {
        hooks.calls.clear();
        hooks.hints.clear();
        ui = RecordingUi {};
        serial.opens.clear();
        tcp.connects.clear();
        udp.opens.clear();
        udp.closes = 0;
        timers.armed.clear();
    }

    ScratchFolder folder {"commands"};
    std::string iniPath = folder / "Velmaris.INI";
    CVelmarisDoc doc {ui, Links(), reporter, clock};
    RecordingHooks hooks;
    CountingObserver observer;
    DocumentCommands commands {doc, hooks};
};

} // namespace velmaris::testing
