#include "controls/qt/CIPAddressDlg.h"

#include "controls/ConnectionRules.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace velmaris {

CIPAddressDlg::CIPAddressDlg(std::string address, QWidget* parent)
    : QDialog(parent)
    , address_(std::move(address))
    , ok_(new QPushButton(QStringLiteral("OK"), this))
    , cancel_(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("ipAddressDialog"));
    setWindowTitle(QStringLiteral("Change IP Address"));
    ok_->setObjectName(QStringLiteral("okButton"));
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    ok_->setDefault(true);

    // The address control: four short fields between dots, in one frame.
    auto* control = new QFrame(this);
    control->setObjectName(QStringLiteral("ipAddressControl"));
    control->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* row = new QHBoxLayout(control);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(0);
    const std::optional<std::array<int, 4>> parsed = ParseIpAddressText(address_);
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        auto* part = new QLineEdit(control);
        part->setObjectName(QStringLiteral("ipPart%1").arg(i));
        part->setFrame(false);
        part->setAlignment(Qt::AlignCenter);
        part->setMaxLength(3);
        part->setValidator(new QIntValidator(0, 255, part));
        part->setFixedWidth(part->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 6);
        if (parsed)
            part->setText(QString::number((*parsed)[i]));
        parts_[i] = part;
        row->addWidget(part);
        if (i + 1 < parts_.size())
            row->addWidget(new QLabel(QStringLiteral("."), control));
    }
    // A part above 255 becomes 255 and a full part moves on to the next, as
    // the address control does.
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        QLineEdit* part = parts_[i];
        QLineEdit* next = i + 1 < parts_.size() ? parts_[i + 1] : nullptr;
        connect(part, &QLineEdit::textEdited, this, [part, next](const QString& text) {
            if (text.toInt() > 255)
                part->setText(QStringLiteral("255"));
            if (text.size() == 3 && next != nullptr)
                next->setFocus();
        });
    }

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("IP Address:"), this), 0, 0, 2, 1);
    grid->addWidget(control, 0, 1, 2, 1);
    grid->addWidget(cancel_, 0, 2);
    grid->addWidget(ok_, 1, 2);
    connect(ok_, &QPushButton::clicked, this, &CIPAddressDlg::accept);
    connect(cancel_, &QPushButton::clicked, this, &CIPAddressDlg::reject);
}

void CIPAddressDlg::accept()
{
    std::array<int, 4> values {};
    bool anyPart = false;
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        anyPart = anyPart || !parts_[i]->text().isEmpty();
        values[i] = std::clamp(parts_[i]->text().toInt(), 0, 255); // an empty part counts as 0
    }
    if (anyPart)
        address_ = IpAddressText(values);
    QDialog::accept();
}

std::optional<std::string> RunIpAddressDialog(const std::string& current, QWidget* parent)
{
    CIPAddressDlg dialog(current, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Address();
}

} // namespace velmaris
