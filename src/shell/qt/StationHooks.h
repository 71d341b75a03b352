#pragma once
// The shell's side of the document commands: views, dialogs and floating
// windows. Each window-related hook is a std::function the application wires
// to the window that carries it out, so this class depends on no dialog.
// User-interface thread only.

#include "station/CommandHooks.h"

#include <functional>

namespace velmaris {

class CVelmarisView;

class StationHooks final : public CommandHooks {
public:
    void SetView(CVelmarisView* view) { view_ = view; }

    void UpdateAllViews(int hint) override;

    // The view: "Measure Target" and "&Save Screen".
    std::function<void()> saveScreen;
    void SaveScreen() override { Call(saveScreen); }
    void ToggleMeasureMode() override;
    bool MeasureModeOn() const override;

    // Recording and playback.
    std::function<void()> openPlayback;
    std::function<void()> toggleRecording;
    std::function<bool()> realTimePlayAvailable;
    std::function<bool()> realTimePlayOn;
    std::function<void()> toggleRealTimePlay;
    void OpenPlayback() override { Call(openPlayback); }
    void ToggleRecording() override { Call(toggleRecording); }
    bool RealTimePlayAvailable() const override { return realTimePlayAvailable && realTimePlayAvailable(); }
    bool RealTimePlayOn() const override { return realTimePlayOn && realTimePlayOn(); }
    void ToggleRealTimePlay() override { Call(toggleRealTimePlay); }

    // Dialogs.
    std::function<std::optional<std::string>()> chooseRecordDirectory;
    std::function<std::optional<double>(double)> editSoundVelocity;
    std::function<void()> runHotKeysHelp;
    std::function<void()> runAboutBox;
    std::optional<std::string> ChooseRecordDirectory() override
    {
        return chooseRecordDirectory ? chooseRecordDirectory() : std::nullopt;
    }
    std::optional<double> EditSoundVelocity(double current) override
    {
        return editSoundVelocity ? editSoundVelocity(current) : std::nullopt;
    }
    void RunHotKeysHelp() override { Call(runHotKeysHelp); }
    std::function<std::optional<std::string>(const std::string&)> editIpAddress;
    std::function<bool(ComPortChoice&)> chooseComPorts;
    std::function<void()> restartGpsInput;
    std::optional<std::string> EditIpAddress(const std::string& current) override
    {
        return editIpAddress ? editIpAddress(current) : std::nullopt;
    }
    bool ChooseComPorts(ComPortChoice& choice) override { return chooseComPorts && chooseComPorts(choice); }
    void RestartGpsInput() override { Call(restartGpsInput); }
    void RunAboutBox() override { Call(runAboutBox); }
    // GeoJSON, KML and GPX for "Export Targets..." (null: CSV alone).
    const ChartWriter* charts = nullptr;
    const ChartWriter* Charts() const override { return charts; }

    // Floating windows.
    std::function<void(bool)> showSettingsPanel;
    std::function<std::optional<bool>()> settingsPanelVisible;
    std::function<void(KeyInKind, const std::optional<std::string>&)> showKeyIn;
    std::function<void(bool)> showDiagnostics;
    std::function<std::optional<bool>()> diagnosticsVisible;
    void ShowDiagnostics(bool show) override
    {
        if (showDiagnostics)
            showDiagnostics(show);
    }
    std::optional<bool> DiagnosticsVisible() const override
    {
        return diagnosticsVisible ? diagnosticsVisible() : std::nullopt;
    }
    void ShowSettingsPanel(bool show) override
    {
        if (showSettingsPanel)
            showSettingsPanel(show);
    }
    std::optional<bool> SettingsPanelVisible() const override
    {
        return settingsPanelVisible ? settingsPanelVisible() : std::nullopt;
    }
    void ShowKeyIn(KeyInKind kind, const std::optional<std::string>& prompt) override
    {
        if (showKeyIn)
            showKeyIn(kind, prompt);
    }

private:
    static void Call(const std::function<void()>& hook)
    {
        if (hook)
            hook();
    }

    CVelmarisView* view_ = nullptr;
};

} // namespace velmaris
