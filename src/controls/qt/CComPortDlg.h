#pragma once
// The modal "Choose Comm Port" dialog: the serial head's COM port and RTS
// mode, and the GPS input's port, rate and enable box (shown, but kept off
// by the enable rule). The port lists hold the COM numbers whose devices
// (through the station's COM-number mapping) open now, plus the ones the
// station's own links hold, which are selected.
//
// Ownership: copies what it is given; the reporter must outlive the dialog.
// User-interface thread only; building the lists opens and closes each
// mapped device once.

#include "controls/ConnectionRules.h"
#include "files/Reporter.h"
#include "links/ComPortMap.h"
#include "station/CommandHooks.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace velmaris {

class CComPortDlg : public QDialog {
    Q_OBJECT
public:
    CComPortDlg(const ComPortChoice& choice, const ComPortHolders& holders, ComPortMap ports,
        Reporter& reporter, QWidget* parent = nullptr);

    // The edited values (read after OK).
    const ComPortChoice& Choice() const { return choice_; }

    QComboBox* SonarPorts() const { return sonarPorts_; }
    QComboBox* GpsPorts() const { return gpsPorts_; }
    QComboBox* GpsBauds() const { return gpsBauds_; }
    QRadioButton* RtsEnable() const { return rtsEnable_; }
    QRadioButton* AutoEnable() const { return autoEnable_; }
    QCheckBox* GpsEnable() const { return gpsEnable_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    void FillPortLists(const ComPortHolders& holders);
    void SonarPortPicked(int index);
    void GpsPortPicked(int index);
    void RunEnableRule();

    ComPortChoice choice_;
    ComPortMap ports_;
    Reporter& reporter_;
    ComDialogEnables enables_;
    QComboBox* sonarPorts_;
    QRadioButton* rtsEnable_;
    QRadioButton* autoEnable_;
    QCheckBox* gpsEnable_;
    QComboBox* gpsPorts_;
    QComboBox* gpsBauds_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// Whether `device` can be opened for reading and writing, exclusively, right
// now (it is closed again at once).
bool ProbeSerialDevice(const QString& device);

// Runs the dialog modally on `choice`; on OK writes the edited values back
// and returns true. Cancel leaves `choice` untouched.
bool RunComPortDialog(ComPortChoice& choice, const ComPortHolders& holders, const ComPortMap& ports,
    Reporter& reporter, QWidget* parent);

} // namespace velmaris
