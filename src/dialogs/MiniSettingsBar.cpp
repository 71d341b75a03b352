#include "dialogs/MiniSettingsBar.h"

#include "dialogs/CSpinButton.h"

#include <algorithm>

namespace velmaris {

MiniSettingsBar::MiniSettingsBar(const SharedFieldControls& controls, const SonarSettings& settings,
    const CommandMessage& message, SettingsOperations& operations, QObject* parent)
    : QObject(parent)
    , controls_(controls)
    , settings_(settings)
    , message_(message)
    , operations_(operations)
{
    ConnectSharedRules(controls_, operations_, this);
    if (CSpinButton* range = controls_.spins[kFieldRange])
        connect(range, &CSpinButton::released, this, &MiniSettingsBar::RangeReleased);
}

void MiniSettingsBar::Refresh()
{
    RefreshSharedFields(controls_, settings_, message_);
}

void MiniSettingsBar::RangeReleased()
{
    CSpinButton* spin = controls_.spins[kFieldRange];
    spin->setRange(0, kRangeCount - 1);
    // Applies even when unchanged, so every release clears the image.
    operations_.SetRangeFromSlider(std::clamp(spin->position(), 0, kRangeCount - 1));
}

} // namespace velmaris
