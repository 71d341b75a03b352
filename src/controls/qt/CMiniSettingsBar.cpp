#include "controls/qt/CMiniSettingsBar.h"

#include "controls/qt/CSpinButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace velmaris {

CMiniSettingsBar::CMiniSettingsBar(const SonarSettings& settings, const CommandMessage& message,
    SettingsOperations& operations, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("miniSettingsBar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    for (int field = 0; field < kSharedFieldCount; ++field) {
        const QString stem = QString::fromLatin1(SharedFieldName(field));
        auto* label = new QLabel(QString::fromLatin1(SharedFieldLabel(field)), this);
        controls_.values[field] = MakeValueField(
            stem + QStringLiteral("Value"), QString::fromLatin1(SharedFieldWidest(field)), this);
        auto* spin = new CSpinButton(this);
        spin->setObjectName(stem + QStringLiteral("Spin"));
        controls_.spins[field] = spin;
        row->addWidget(label);
        row->addWidget(controls_.values[field]);
        row->addWidget(spin);
        row->addSpacing(label->fontMetrics().averageCharWidth());
    }
    row->addStretch(1);
    controller_ = new MiniSettingsBarController(controls_, settings, message, operations, this);
    controller_->Refresh();
}

} // namespace velmaris
