#include "app/CMiniSettingsBar.h"

#include "app/CUpDown.h"
#include "document/ControlIds.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace velmaris {

namespace {

struct Field {
    const char* label;
    const char* name; // object-name stem
    int valueId;
    int spinId;
    int width; // value field width in pixels
};

constexpr Field kFields[] = {
    {"Range:", "Range", ctl::kRangeValue, ctl::kRangeSpin, 60},
    {"Gain:", "Gain", ctl::kGainValue, ctl::kGainSpin, 50},
    {"Sector:", "Sector", ctl::kSectorValue, ctl::kSectorSpin, 64},
    {"Train:", "Train", ctl::kTrainValue, ctl::kTrainSpin, 64},
    {"Speed:", "Speed", ctl::kSpeedValue, ctl::kSpeedSpin, 64},
    {"Mode:", "Mode", ctl::kModeValue, ctl::kModeSpin, 70},
};

} // namespace

CMiniSettingsBar::CMiniSettingsBar(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("miniSettingsBarFields"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 1, 4, 1);
    layout->setSpacing(4);
    for (const Field& f : kFields) {
        const QString stem = QStringLiteral("mini") + QLatin1String(f.name);
        auto* label = new QLabel(QString::fromLatin1(f.label), this);
        label->setObjectName(stem + QStringLiteral("Label"));
        auto* value = new QLineEdit(this);
        value->setObjectName(stem + QStringLiteral("Value"));
        value->setProperty("controlId", f.valueId);
        value->setReadOnly(true);
        // The hot keys must reach the frame whatever was clicked last.
        value->setFocusPolicy(Qt::NoFocus);
        value->setFixedWidth(f.width);
        auto* spin = new CUpDown(this);
        spin->setObjectName(stem + QStringLiteral("Spin"));
        spin->setProperty("controlId", f.spinId);
        layout->addWidget(label);
        layout->addWidget(value);
        layout->addWidget(spin);
        layout->addSpacing(6);
        m_fields[f.valueId] = value;
        m_spins[f.spinId] = spin;
        const int spinId = f.spinId;
        connect(spin, &CUpDown::deltaPosition, this,
            [this, spinId](int delta) { emit spinDelta(spinId, delta); });
    }
    connect(m_spins[ctl::kRangeSpin], &CUpDown::released, this, &CMiniSettingsBar::rangeSpinReleased);
    layout->addStretch(1);
}

QLineEdit* CMiniSettingsBar::ValueField(int valueFieldId) const
{
    const auto it = m_fields.find(valueFieldId);
    return it == m_fields.end() ? nullptr : it->second;
}

CUpDown* CMiniSettingsBar::Spin(int spinId) const
{
    const auto it = m_spins.find(spinId);
    return it == m_spins.end() ? nullptr : it->second;
}

bool CMiniSettingsBar::SetFieldText(int valueFieldId, const QString& text)
{
    QLineEdit* field = ValueField(valueFieldId);
    if (field == nullptr)
        return false;
    field->setText(text);
    return true;
}

bool CMiniSettingsBar::SetSpinRange(int spinId, int lower, int upper)
{
    CUpDown* spin = Spin(spinId);
    if (spin == nullptr)
        return false;
    spin->SetRange(lower, upper);
    return true;
}

bool CMiniSettingsBar::SetSpinPosition(int spinId, int position)
{
    CUpDown* spin = Spin(spinId);
    if (spin == nullptr)
        return false;
    spin->SetPosition(position);
    return true;
}

} // namespace velmaris
