#include "controls/qt/CSoundVDlg.h"

#include "controls/SoundVelocity.h"
#include "controls/qt/CSpinButton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmaris {

CSoundVDlg::CSoundVDlg(
    const SonarSettings* settings, const DocumentFlags* flags, Reporter& reporter, QWidget* parent)
    : QDialog(parent)
    , settings_(settings)
    , flags_(flags)
    , reporter_(reporter)
    , edit_(new QLineEdit(this))
    , spin_(new CSpinButton(this))
    , ok_(new QPushButton(QStringLiteral("OK"), this))
    , default_(new QPushButton(QStringLiteral("Default"), this))
    , cancel_(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("soundVelocityDialog"));
    setWindowTitle(QStringLiteral("Input Sound Velocity"));
    edit_->setObjectName(QStringLiteral("speedEdit"));
    spin_->setObjectName(QStringLiteral("speedSpin"));
    ok_->setObjectName(QStringLiteral("okButton"));
    default_->setObjectName(QStringLiteral("defaultButton"));
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    ok_->setDefault(true);
    default_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    edit_->setMinimumWidth(edit_->fontMetrics().horizontalAdvance(QStringLiteral("0000.00")) + 8);

    auto* grid = new QGridLayout(this);
    auto* field = new QHBoxLayout;
    field->addWidget(edit_);
    field->addWidget(spin_);
    field->addWidget(new QLabel(QStringLiteral("m/s"), this));
    grid->addWidget(new QLabel(QStringLiteral("Sound Velocity:"), this), 0, 0);
    grid->addLayout(field, 0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(default_);
    buttons->addWidget(cancel_);
    grid->addLayout(buttons, 1, 0, 1, 2);

    connect(ok_, &QPushButton::clicked, this, &CSoundVDlg::accept);
    connect(cancel_, &QPushButton::clicked, this, &CSoundVDlg::reject);
    connect(default_, &QPushButton::clicked, this, &CSoundVDlg::UseDefault);
    connect(spin_, &CSpinButton::stepped, this, &CSoundVDlg::Step);

    if (settings_ != nullptr) {
        const double speed = settings_->speedOfSound;
        edit_->setText(QString::fromStdString(SoundVelocityText(speed)));
        // The working value starts whole; the field shows the stored tenths.
        working_ = InitialWorkingSpeed(speed);
        spin_->setRange(0, kSoundVelocitySpinUpper);
        spin_->setPosition(SoundVelocitySpinPosition(speed));
    }
}

void CSoundVDlg::ShowWorking()
{
    edit_->setText(QString::fromStdString(SoundVelocityText(working_)));
}

void CSoundVDlg::Step(int delta)
{
    if (settings_ == nullptr || (flags_ != nullptr && flags_->playback))
        return;
    const double next = StepSoundVelocity(working_, delta);
    if (next == working_)
        return;
    working_ = next;
    ShowWorking();
}

void CSoundVDlg::UseDefault()
{
    if (settings_ == nullptr)
        return;
    working_ = kSoundVelocityDefault;
    ShowWorking();
}

void CSoundVDlg::accept()
{
    const double typed = SoundVelocityFromText(edit_->text().toStdString());
    if (!IsSoundVelocityAccepted(typed)) {
        reporter_.ShowMessage(kSoundVelocityRangeMessage);
        return;
    }
    working_ = typed;
    QDialog::accept();
}

bool RunSoundVelocityCommand(
    SonarSettings& settings, const DocumentFlags& flags, Reporter& reporter, QWidget* parent)
{
    CSoundVDlg dialog(&settings, &flags, reporter, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings.speedOfSound = dialog.WorkingSpeed();
    return true;
}

} // namespace velmaris
