#pragma once
// The modal "Input Sound Velocity" dialog: an edit field with the speed in
// m/s, a spin that moves it by tenths, "Default" (1500.0), OK and Cancel. OK
// accepts a typed speed from 1400.0 to 1600.0 only; anything else (or no
// number) is refused with a message and the dialog stays open.
//
// Ownership: `settings` and `flags` belong to the document and may be null
// (no document: no initial value, the spin and "Default" do nothing); the
// reporter must outlive the dialog. User-interface thread only.

#include "files/Reporter.h"
#include "protocol/SonarSettings.h"
#include "settings/DocumentFlags.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace velmaris {

class CSpinButton;

class CSoundVDlg : public QDialog {
    Q_OBJECT
public:
    CSoundVDlg(const SonarSettings* settings, const DocumentFlags* flags, Reporter& reporter,
        QWidget* parent = nullptr);

    // The speed OK accepted (or the working value while open).
    double WorkingSpeed() const { return working_; }

    QLineEdit* Edit() const { return edit_; }
    CSpinButton* Spin() const { return spin_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* DefaultButton() const { return default_; }
    QPushButton* CancelButton() const { return cancel_; }

public slots:
    void accept() override;

private:
    void Step(int delta);
    void UseDefault();
    void ShowWorking();

    const SonarSettings* settings_;
    const DocumentFlags* flags_;
    Reporter& reporter_;
    QLineEdit* edit_;
    CSpinButton* spin_;
    QPushButton* ok_;
    QPushButton* default_;
    QPushButton* cancel_;
    double working_ = 1500.0;
};

// The Sound Velocity command: runs the dialog modally and on OK stores the
// accepted speed as `Speed of Sound`; Cancel changes nothing. Returns true
// when a speed was stored.
bool RunSoundVelocityCommand(
    SonarSettings& settings, const DocumentFlags& flags, Reporter& reporter, QWidget* parent);

} // namespace velmaris
