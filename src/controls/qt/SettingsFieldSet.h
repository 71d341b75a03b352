#pragma once
// The six fields that the settings panel and the mini settings bar share
// (range, gain, sector, train, speed, mode): each a read-only value field
// and a spin. Writes their texts, spin ranges and positions, and wires every
// spin to its stepping rule, so both windows obey one set of rules.
//
// Ownership: the controls belong to their window; pointers may be null (a
// missing control is skipped). The settings, message and operations belong
// to the document and outlive the windows. User-interface thread only.

#include "controls/ControlTexts.h"
#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"
#include "settings/SettingsOperations.h"

#include <QString>
#include <array>

class QLineEdit;
class QObject;
class QWidget;

namespace velmaris {

class CSpinButton;

struct SharedFieldControls {
    std::array<QLineEdit*, kSharedFieldCount> values {};
    std::array<CSpinButton*, kSharedFieldCount> spins {};
};

// Label text and object-name stem of each shared field ("Range:", "range").
const char* SharedFieldLabel(int field);
const char* SharedFieldName(int field);
// The widest text a field shows, which sizes it.
const char* SharedFieldWidest(int field);

// A read-only, bordered value field wide enough for `widest`.
QLineEdit* MakeValueField(const QString& objectName, const QString& widest, QWidget* parent);

// Writes text, spin range and position of one field.
void ShowField(QLineEdit* value, CSpinButton* spin, const FieldView& view);

void RefreshSharedFields(
    const SharedFieldControls& controls, const SonarSettings& settings, const CommandMessage& message);

// Connects each spin's steps to its rule; `context` bounds the connections.
void ConnectSharedRules(
    const SharedFieldControls& controls, SettingsOperations& operations, QObject* context);

} // namespace velmaris
