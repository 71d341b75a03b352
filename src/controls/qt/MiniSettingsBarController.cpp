#include "controls/qt/MiniSettingsBarController.h"

#include "controls/qt/CSpinButton.h"

#include <algorithm>

namespace velmaris {

MiniSettingsBarController::MiniSettingsBarController(const SharedFieldControls& controls,
    const SonarSettings& settings, const CommandMessage& message, SettingsOperations& operations,
    QObject* parent)
    : QObject(parent)
    , controls_(controls)
    , settings_(settings)
    , message_(message)
    , operations_(operations)
{
    ConnectSharedRules(controls_, operations_, this);
    if (CSpinButton* range = controls_.spins[kFieldRange])
        connect(range, &CSpinButton::released, this, &MiniSettingsBarController::RangeReleased);
}

void MiniSettingsBarController::Refresh()
{
    RefreshSharedFields(controls_, settings_, message_);
}

void MiniSettingsBarController::RangeReleased()
{
    CSpinButton* spin = controls_.spins[kFieldRange];
    spin->setRange(0, kRangeCount - 1);
    // Applies even when unchanged, so every release clears the image.
    operations_.SetRangeFromSlider(std::clamp(spin->position(), 0, kRangeCount - 1));
}

} // namespace velmaris
