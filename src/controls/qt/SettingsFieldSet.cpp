#include "controls/qt/SettingsFieldSet.h"

#include "controls/qt/CSpinButton.h"

#include <QFontMetrics>
#include <QLineEdit>

namespace velmaris {

const char* SharedFieldLabel(int field)
{
    static const char* const labels[kSharedFieldCount]
        = {"Range:", "Gain:", "Sector:", "Train:", "Speed:", "Mode:"};
    return field >= 0 && field < kSharedFieldCount ? labels[field] : "";
}

const char* SharedFieldName(int field)
{
    static const char* const names[kSharedFieldCount] = {"range", "gain", "sector", "train", "speed", "mode"};
    return field >= 0 && field < kSharedFieldCount ? names[field] : "";
}

const char* SharedFieldWidest(int field)
{
    static const char* const widest[kSharedFieldCount]
        = {"600 ft", "40 dB", "360 deg.", "360 deg.", "Fastest", "SideScan"};
    return field >= 0 && field < kSharedFieldCount ? widest[field] : "";
}

QLineEdit* MakeValueField(const QString& objectName, const QString& widest, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    // Width from the font, so the field scales with the screen's resolution.
    const QFontMetrics metrics(edit->font());
    edit->setMinimumWidth(metrics.horizontalAdvance(widest) + 2 * metrics.averageCharWidth());
    return edit;
}

void ShowField(QLineEdit* value, CSpinButton* spin, const FieldView& view)
{
    if (value != nullptr)
        value->setText(QString::fromStdString(view.text));
    if (spin != nullptr) {
        spin->setRange(view.lower, view.upper);
        spin->setPosition(view.position);
    }
}

void RefreshSharedFields(
    const SharedFieldControls& controls, const SonarSettings& settings, const CommandMessage& message)
{
    const auto views = SharedFieldViews(settings, message);
    for (int field = 0; field < kSharedFieldCount; ++field)
        ShowField(controls.values[field], controls.spins[field], views[field]);
}

void ConnectSharedRules(const SharedFieldControls& controls, SettingsOperations& operations, QObject* context)
{
    using Rule = void (SettingsOperations::*)(int);
    static constexpr Rule rules[kSharedFieldCount] = {&SettingsOperations::StepRange,
        &SettingsOperations::StepGain, &SettingsOperations::StepSectorWidth, &SettingsOperations::StepTrain,
        &SettingsOperations::StepSpeed, &SettingsOperations::StepMode};
    for (int field = 0; field < kSharedFieldCount; ++field) {
        CSpinButton* spin = controls.spins[field];
        if (spin == nullptr)
            continue;
        const Rule rule = rules[field];
        QObject::connect(spin, &CSpinButton::stepped, context,
            [&operations, rule](int delta) { (operations.*rule)(delta); });
    }
}

} // namespace velmaris
