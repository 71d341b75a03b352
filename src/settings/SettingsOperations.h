#pragma once
// The operator's ways of changing the head settings: spin clicks, arrow hot
// keys, key-in values, sliders and the mode and orientation commands. Each
// operation writes the saved setting and/or its command byte under fixed
// stepping and clamping rules and then applies the change (refreshes bars
// and panel, clears the image when the picture geometry changed, repaints
// when no ping will).
//
// Ownership: holds references only; the document owns the settings, the
// command message, the flags and the host, and must outlive this object.
// Thread: user-interface thread only. Failure: none; out-of-range input is
// clamped silently and negative key-in values are ignored.
//
// No operation acts while a playback runs (the records then own the head
// values). Operations that make no sense in SideScan do nothing there.

#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"
#include "settings/DocumentFlags.h"
#include "settings/SettingsHost.h"

namespace velmaris {

class SettingsOperations {
public:
    SettingsOperations(
        SonarSettings& settings, CommandMessage& message, DocumentFlags& flags, SettingsHost& host);

    // Refreshes the mini bar (after step normalisation) and the panel when
    // it exists (after loading the automatic values when `Auto Settings` is
    // 1); clears raster and history when the range-changed flag is set;
    // repaints at once unless the link is connected (the next ping will).
    // Also raises the status-reset request. Acts during playback too.
    void ApplySettings();

    // Loads the automatic values when `Auto Settings` is 1 and refreshes the
    // panel, both only when the panel exists. Acts during playback too.
    void RefreshSettingsPanel();

    // Range: one step of the index; stopping at either end applies nothing.
    void StepRange(int delta);
    // Range slider: always applies (and so clears the image), even unchanged.
    void SetRangeFromSlider(int position);
    // Range key-in: metres, or feet when `Metric Scale` is 1.
    void SetRangeKeyIn(int value);

    void StepGain(int delta);
    void SetGain(int value); // key-in or slider, dB; above 40 gives 40

    void StepSectorWidth(int delta); // SideScan: no
    void SetSectorWidth(int degrees); // SideScan: no

    void StepTrain(int delta); // inert at full circle; reversed with `Sonar Up/Down` 1
    void SetTrain(int degrees); // 0 is straight ahead; degrees above 359 wrap round

    void StepSpeed(int delta); // SideScan: no

    void StepMode(int delta);
    void SelectSector();
    void SelectPolar();
    void SelectSideScan();

    void SetOrientation(int sonarUpDown); // 0 down, anything else up

    // Manual set-up; each ends with a panel refresh, not an apply.
    void StepFrequency(int delta);
    void StepAbsorption(int delta); // never lands on 253
    void StepPulseLength(int delta);
    void StepSwitchDelay(int delta);
    void ToggleManualSetup();

    // The pure rules, on the settings and message held here.
    void ApplyAutomaticValues(); // the automatic values when `Auto Settings` is 1
    void StorePerMode();
    void NormaliseStep();

private:
    bool Blocked() const { return flags_.playback; }
    void SelectSectorOrPolar(DisplayMode mode);
    void StoreRangeIndex(int index);
    void SetTrainCode(int code);

    SonarSettings& settings_;
    CommandMessage& message_;
    DocumentFlags& flags_;
    SettingsHost& host_;
};

} // namespace velmaris
