#include "document/KeyInCommands.h"

#include <algorithm>

namespace velmaris {

int KeyInValueFromText(std::string_view text, int previous)
{
    text = text.substr(0, kKeyInMaxChars);
    if (text.empty())
        return previous;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int value = 0; // three characters cannot overflow
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = 10 * value + (text[i] - '0');
    return negative ? -value : value;
}

int ApplyKeyIn(SettingsOperations& operations, int kind, int value)
{
    switch (kind) {
    case kKeyInRange:
        // The typed number is remembered undivided, so Enter on an empty
        // field in feet repeats the same range.
        operations.SetRangeKeyIn(value);
        return value;
    case kKeyInGain:
        operations.SetGain(value);
        return std::min(value, 40);
    case kKeyInSectorWidth:
        operations.SetSectorWidth(value);
        return value;
    case kKeyInTrain:
        operations.SetTrain(value);
        return value;
    default:
        return value;
    }
}

ScreenPoint KeyInWindowPosition(int mainLeft, int mainTop, int mainWidth, int keyInWidth)
{
    return {mainLeft + mainWidth - 15 - keyInWidth, mainTop + 31};
}

KeyInCommands::KeyInCommands(
    const SonarSettings& settings, const DocumentFlags& flags, SettingsOperations& operations)
    : settings_(settings)
    , flags_(flags)
    , operations_(operations)
{ }

void KeyInCommands::KeyInRange()
{
    if (!Available())
        return;
    std::string prompt = window_->Prompt();
    if (settings_.metricScale == 0)
        prompt = kKeyInRangeMetresPrompt;
    else if (settings_.metricScale == 1)
        prompt = kKeyInRangeFeetPrompt;
    window_->Present(kKeyInRange, prompt);
}

void KeyInCommands::KeyInGain()
{
    if (!Available())
        return;
    window_->Present(kKeyInGain, kKeyInGainPrompt);
}

void KeyInCommands::KeyInSectorWidth()
{
    if (!Available())
        return;
    if (settings_.sectorMode == kModeSector)
        window_->Present(kKeyInSectorWidth, kKeyInSectorPrompt);
    else if (settings_.sectorMode == kModePolar)
        window_->Present(kKeyInSectorWidth, kKeyInPolarPrompt);
}

void KeyInCommands::KeyInTrain()
{
    if (!Available())
        return;
    window_->Present(kKeyInTrain, kKeyInTrainPrompt);
}

} // namespace velmaris
