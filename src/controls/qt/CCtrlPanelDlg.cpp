#include "controls/qt/CCtrlPanelDlg.h"

#include "controls/qt/CSpinButton.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace velmaris {

namespace {

CSpinButton* MakeSpin(const QString& objectName, QWidget* parent)
{
    auto* spin = new CSpinButton(parent);
    spin->setObjectName(objectName);
    return spin;
}

bool IsMousePress(const QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        return false;
    const auto button = static_cast<const QMouseEvent*>(event)->button();
    return button == Qt::LeftButton || button == Qt::MiddleButton || button == Qt::RightButton;
}

} // namespace

CCtrlPanelDlg::CCtrlPanelDlg(
    SonarSettings& settings, CommandMessage& message, SettingsOperations& operations, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool)
    , settings_(settings)
    , message_(message)
    , operations_(operations)
{
    setObjectName(QStringLiteral("settingsPanel"));
    setWindowTitle(QStringLiteral("Settings"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(BuildSharedColumn());
    layout->addWidget(BuildManualGroup(), 0, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ConnectSharedRules(shared_, operations_, this);
    connect(frequencySpin_, &CSpinButton::stepped, this, [this](int d) { operations_.StepFrequency(d); });
    connect(absorptionSpin_, &CSpinButton::stepped, this, [this](int d) { operations_.StepAbsorption(d); });
    connect(pulseLengthSpin_, &CSpinButton::stepped, this, [this](int d) { operations_.StepPulseLength(d); });
    connect(switchDelaySpin_, &CSpinButton::stepped, this, [this](int d) { operations_.StepSwitchDelay(d); });
    connect(enable_, &QCheckBox::clicked, this, [this] { operations_.ToggleManualSetup(); });

    WatchMousePresses();
    // The panel shows the automatic values of the current range from the start.
    operations_.ApplyAutomaticValues();
    Refresh();
}

QWidget* CCtrlPanelDlg::BuildSharedColumn()
{
    auto* column = new QWidget(this);
    auto* grid = new QGridLayout(column);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int field = 0; field < kSharedFieldCount; ++field) {
        const QString stem = QString::fromLatin1(SharedFieldName(field));
        auto* label = new QLabel(QString::fromLatin1(SharedFieldLabel(field)), column);
        shared_.values[field] = MakeValueField(
            stem + QStringLiteral("Value"), QString::fromLatin1(SharedFieldWidest(field)), column);
        shared_.spins[field] = MakeSpin(stem + QStringLiteral("Spin"), column);
        grid->addWidget(label, field, 0);
        grid->addWidget(shared_.values[field], field, 1);
        grid->addWidget(shared_.spins[field], field, 2);
    }
    return column;
}

QGroupBox* CCtrlPanelDlg::BuildManualGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Manual Frequecy Setup"), this);
    group->setObjectName(QStringLiteral("manualGroup"));
    auto* grid = new QGridLayout(group);
    enable_ = new QCheckBox(QStringLiteral("Enable"), group);
    enable_->setObjectName(QStringLiteral("enableCheck"));
    grid->addWidget(enable_, 0, 0, 1, 3);

    int row = 1;
    auto addRow = [&](const char* label, const char* stem, const char* widestText, QLineEdit*& value,
                      CSpinButton*& spin) {
        const QString name = QString::fromLatin1(stem);
        grid->addWidget(new QLabel(QString::fromLatin1(label), group), row, 0);
        value = MakeValueField(name + QStringLiteral("Value"), QString::fromLatin1(widestText), group);
        spin = MakeSpin(name + QStringLiteral("Spin"), group);
        grid->addWidget(value, row, 1);
        grid->addWidget(spin, row, 2);
        ++row;
    };
    addRow("Freqency:", "frequency", "1100 kHz", frequency_, frequencySpin_);
    addRow("Absorption:", "absorption", "2.55 dB/m", absorption_, absorptionSpin_);
    addRow("PulseLen:", "pulseLength", "1000 usec", pulseLength_, pulseLengthSpin_);
    addRow("SwitchDelay:", "switchDelay", "100 ms", switchDelay_, switchDelaySpin_);
    return group;
}

void CCtrlPanelDlg::WatchMousePresses()
{
    // Presses land on the child under the mouse, so every child is watched.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void CCtrlPanelDlg::Refresh()
{
    RefreshSharedFields(shared_, settings_, message_);
    const ManualSetupView view = ManualSetupViewOf(settings_, message_);
    ShowField(switchDelay_, switchDelaySpin_, view.switchDelay);
    ShowField(frequency_, frequencySpin_, view.frequency);
    ShowField(absorption_, absorptionSpin_, view.absorption);
    ShowField(pulseLength_, pulseLengthSpin_, view.pulseLength);
    enable_->setChecked(view.enableChecked);
    for (QWidget* w : {static_cast<QWidget*>(frequency_), static_cast<QWidget*>(frequencySpin_),
             static_cast<QWidget*>(absorption_), static_cast<QWidget*>(absorptionSpin_),
             static_cast<QWidget*>(pulseLength_), static_cast<QWidget*>(pulseLengthSpin_)})
        w->setEnabled(view.manualFieldsEnabled);
}

void CCtrlPanelDlg::closeEvent(QCloseEvent* event)
{
    settings_.settingsDlgVisible = 0;
    event->accept(); // hidden, not destroyed
}

bool CCtrlPanelDlg::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate || IsMousePress(event))
        emit hideKeyInRequested();
    return QWidget::event(event);
}

bool CCtrlPanelDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (IsMousePress(event))
        emit hideKeyInRequested();
    return QWidget::eventFilter(watched, event);
}

} // namespace velmaris
