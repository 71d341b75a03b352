#include "controls/qt/CComPortDlg.h"

#include "protocol/SonarSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QVBoxLayout>

#include <map>

namespace velmaris {

bool ProbeSerialDevice(const QString& device)
{
    if (device.isEmpty())
        return false;
    QSerialPort port(device);
    if (!port.open(QIODevice::ReadWrite))
        return false;
    port.close();
    return true;
}

namespace {

QComboBox* PortList(QWidget* parent, const char* name)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    // A drop-down with an edit part; what is typed there counts for nothing.
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setMinimumContentsLength(26);
    return list;
}

} // namespace

CComPortDlg::CComPortDlg(const ComPortChoice& choice, const ComPortHolders& holders, ComPortMap ports,
    Reporter& reporter, QWidget* parent)
    : QDialog(parent)
    , choice_(choice)
    , ports_(std::move(ports))
    , reporter_(reporter)
    , sonarPorts_(PortList(this, "sonarPortList"))
    , rtsEnable_(new QRadioButton(QStringLiteral("RTS Enable"), this))
    , autoEnable_(new QRadioButton(QStringLiteral("Auto Enable"), this))
    , gpsEnable_(new QCheckBox(QStringLiteral("Enable"), this))
    , gpsPorts_(PortList(this, "gpsPortList"))
    , gpsBauds_(new QComboBox(this))
    , ok_(new QPushButton(QStringLiteral("OK"), this))
    , cancel_(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("comPortDialog"));
    setWindowTitle(QStringLiteral("Choose Comm Port"));
    rtsEnable_->setObjectName(QStringLiteral("rtsEnable"));
    autoEnable_->setObjectName(QStringLiteral("autoEnable"));
    gpsEnable_->setObjectName(QStringLiteral("gpsEnable"));
    gpsBauds_->setObjectName(QStringLiteral("gpsBaudList"));
    ok_->setObjectName(QStringLiteral("okButton"));
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    ok_->setDefault(true);

    auto* sonar = new QGroupBox(QStringLiteral("Sonar Head (115200, 8, 1)"), this);
    auto* sonarGrid = new QGridLayout(sonar);
    sonarGrid->addWidget(new QLabel(QStringLiteral("COM:"), sonar), 0, 0);
    sonarGrid->addWidget(sonarPorts_, 0, 1);
    sonarGrid->addWidget(rtsEnable_, 1, 1);
    sonarGrid->addWidget(autoEnable_, 2, 1);
    auto* gps = new QGroupBox(QStringLiteral("GPS Input"), this);
    auto* gpsGrid = new QGridLayout(gps);
    gpsGrid->addWidget(gpsEnable_, 0, 1);
    gpsGrid->addWidget(new QLabel(QStringLiteral("COM:"), gps), 1, 0);
    gpsGrid->addWidget(gpsPorts_, 1, 1);
    gpsGrid->addWidget(new QLabel(QStringLiteral("Baud:"), gps), 2, 0);
    gpsGrid->addWidget(gpsBauds_, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(sonar);
    column->addWidget(gps);
    column->addLayout(buttons);

    // Initialisation in the dialog's order: radio buttons, port lists, GPS
    // box, baud list, enable rule.
    rtsEnable_->setChecked(choice_.rtsMode);
    autoEnable_->setChecked(!choice_.rtsMode);
    FillPortLists(holders);
    gpsEnable_->setChecked(choice_.useGps != 0);
    for (const int baud : kGpsBaudRates)
        gpsBauds_->addItem(QString::number(baud));
    gpsBauds_->setCurrentIndex(choice_.gpsBaudIndex);
    RunEnableRule();

    connect(sonarPorts_, &QComboBox::activated, this, &CComPortDlg::SonarPortPicked);
    connect(gpsPorts_, &QComboBox::activated, this, &CComPortDlg::GpsPortPicked);
    connect(gpsBauds_, &QComboBox::activated, this, [this](int index) { choice_.gpsBaudIndex = index; });
    connect(rtsEnable_, &QRadioButton::clicked, this, [this] { choice_.rtsMode = true; });
    connect(autoEnable_, &QRadioButton::clicked, this, [this] { choice_.rtsMode = false; });
    connect(gpsEnable_, &QCheckBox::clicked, this, [this](bool checked) {
        choice_.useGps = checked ? 1 : 0;
        RunEnableRule();
    });
    connect(ok_, &QPushButton::clicked, this, &CComPortDlg::accept);
    connect(cancel_, &QPushButton::clicked, this, &CComPortDlg::reject);
}

void CComPortDlg::FillPortLists(const ComPortHolders& holders)
{
    // Descriptions the system knows ("FT232R USB UART"), by device path.
    std::map<std::string, std::string> descriptions;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        descriptions[info.systemLocation().toStdString()] = info.description().toStdString();
    const ComPortLists lists = BuildComPortLists(
        [this](int port) { return ProbeSerialDevice(QString::fromStdString(ports_.Device(port))); }, holders,
        choice_.sonarPort, choice_.gpsPort,
        [this, &descriptions](int port) {
            const std::string device = ports_.Device(port);
            const auto found = descriptions.find(device);
            return ComPortEntryText(
                port, device, found == descriptions.end() ? std::string() : found->second);
        });
    for (const ComPortEntry& entry : lists.entries) {
        sonarPorts_->addItem(QString::fromStdString(entry.text), entry.port);
        gpsPorts_->addItem(QString::fromStdString(entry.text), entry.port);
    }
    sonarPorts_->setCurrentIndex(lists.sonarSelection);
    gpsPorts_->setCurrentIndex(lists.gpsSelection);
}

void CComPortDlg::SonarPortPicked(int index)
{
    const std::optional<int> port = ComPortFromEntry(sonarPorts_->itemText(index).toStdString());
    if (!port || *port < kFirstListedComPort || *port > kLastListedComPort) {
        reporter_.ShowMessage(kComPortOutOfRangeMessage);
        return;
    }
    choice_.sonarPort = *port;
}

void CComPortDlg::GpsPortPicked(int index)
{
    if (const std::optional<int> port = ComPortFromEntry(gpsPorts_->itemText(index).toStdString()))
        choice_.gpsPort = *port;
}

void CComPortDlg::RunEnableRule()
{
    enables_ = ApplyComDialogEnableRule(choice_.useGps, choice_.sonarType, enables_);
    // The box keeps showing what `UseGPS` was; only the value is cleared.
    gpsEnable_->setEnabled(enables_.gpsEnableBox);
    gpsPorts_->setEnabled(enables_.gpsControls);
    gpsBauds_->setEnabled(enables_.gpsControls);
    sonarPorts_->setEnabled(enables_.sonarControls);
    rtsEnable_->setEnabled(enables_.sonarControls);
    autoEnable_->setEnabled(enables_.sonarControls);
}

bool RunComPortDialog(ComPortChoice& choice, const ComPortHolders& holders, const ComPortMap& ports,
    Reporter& reporter, QWidget* parent)
{
    CComPortDlg dialog(choice, holders, ports, reporter, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice = dialog.Choice();
    return true;
}

} // namespace velmaris
