#pragma once
// The floating "Settings" panel: the six shared fields (range, gain, sector,
// train, speed, mode) and the "Manual Frequecy Setup" group (frequency,
// absorption, pulse length, switch delay and the "Enable" box for manual
// set-up). Every spin runs its rule in SettingsOperations; the document then
// calls Refresh() (through its SettingsHost) to show the result.
//
// A modeless tool window owned by the main window; closing it with its close
// box only hides it and clears `SettingsDlgVisible`. When it is activated or
// pressed with any mouse button it asks for the key-in window to be hidden.
//
// Ownership: references only; the document owns settings, message and
// operations and destroys the panel before them. User-interface thread only.

#include "controls/qt/SettingsFieldSet.h"
#include "settings/SettingsOperations.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLineEdit;

namespace velmaris {

class CCtrlPanelDlg : public QWidget {
    Q_OBJECT
public:
    CCtrlPanelDlg(SonarSettings& settings, CommandMessage& message, SettingsOperations& operations,
        QWidget* mainWindow = nullptr);

    // Rewrites every field, spin and enable state from the document. Display
    // only: the automatic values, when on, are loaded by the caller.
    void Refresh();

    const SharedFieldControls& SharedControls() const { return shared_; }

signals:
    // The key-in window must hide: the panel was activated or pressed.
    void hideKeyInRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildSharedColumn();
    QGroupBox* BuildManualGroup();
    void WatchMousePresses();

    SonarSettings& settings_;
    CommandMessage& message_;
    SettingsOperations& operations_;
    SharedFieldControls shared_;
    QCheckBox* enable_ = nullptr;
    QLineEdit* frequency_ = nullptr;
    QLineEdit* absorption_ = nullptr;
    QLineEdit* pulseLength_ = nullptr;
    QLineEdit* switchDelay_ = nullptr;
    CSpinButton* frequencySpin_ = nullptr;
    CSpinButton* absorptionSpin_ = nullptr;
    CSpinButton* pulseLengthSpin_ = nullptr;
    CSpinButton* switchDelaySpin_ = nullptr;
};

} // namespace velmaris
