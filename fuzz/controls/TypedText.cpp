// Any text typed into the key-in field, the sound velocity field and the
// address field, read by their rules and (key-in) applied through the
// settings operations. The first byte chooses the key-in kind, the units,
// the mode and the orientation; the rest is the text. Whatever is typed, the
// command stays one the head can take and the texts parse without reading
// past their end.
#include "HeadLimits.h"
#include "controls/ConnectionRules.h"
#include "controls/KeyInRules.h"
#include "controls/SoundVelocity.h"
#include "settings/SettingsOperations.h"

#include <cmath>
#include <string_view>

namespace {

using namespace velmaris;

class QuietHost final : public SettingsHost {
public:
    void RefreshMiniSettingsBar() override { }
    bool SettingsPanelExists() const override { return true; }
    void RefreshSettingsPanel() override { }
    void ClearImageRaster() override { }
    void ClearImageAndHistory() override { }
    bool IsLinkConnected() const override { return true; }
    void RepaintAllViews() override { }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t control = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    SonarSettings settings;
    CommandMessage command;
    DocumentFlags flags;
    QuietHost host;
    InitialiseCommandMessage(command, settings);
    SettingsOperations operations(settings, command, flags, host);
    settings.metricScale = (control >> 2) & 1;
    settings.sonarType = ((control >> 3) & 1) != 0 ? SonarType::EthernetK52L : SonarType::SerialK52A;
    settings.sonarUpDown = (control >> 4) & 1;
    switch ((control >> 5) % 3) {
    case 0:
        operations.SelectSector();
        break;
    case 1:
        operations.SelectPolar();
        break;
    default:
        operations.SelectSideScan();
        break;
    }
    // Each line of the text is one Enter in the key-in window.
    constexpr KeyInKind kKinds[] {KeyInKind::Range, KeyInKind::Gain, KeyInKind::SectorWidth, KeyInKind::Train};
    int remembered = kKeyInInitialValue;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const int value = KeyInValueFromText(text.substr(start, end - start), remembered);
        remembered = ApplyKeyIn(operations, kKinds[control & 3], value);
        fuzz::CheckCommand(command);
        start = end + 1;
    }

    const double speed = SoundVelocityFromText(text);
    if (!std::isfinite(speed))
        __builtin_trap();
    const double stepped = StepSoundVelocity(InitialWorkingSpeed(speed), static_cast<std::int8_t>(control));
    if (IsSoundVelocityAccepted(speed) && !IsSoundVelocityAccepted(stepped))
        __builtin_trap();
    const int spin = SoundVelocitySpinPosition(speed);
    if (spin < 0 || spin > kSoundVelocitySpinUpper || SoundVelocityText(speed).empty())
        __builtin_trap();

    if (const auto parts = ParseIpAddressText(text)) {
        for (const int part : *parts)
            if (part < 0 || part > 255)
                __builtin_trap();
        if (!ParseIpAddressText(IpAddressText(*parts)))
            __builtin_trap();
    }
    if (const auto port = ComPortFromEntry(text); port && *port < 0)
        __builtin_trap();
    return 0;
}
