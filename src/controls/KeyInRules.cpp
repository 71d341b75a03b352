#include "controls/KeyInRules.h"

#include "protocol/NumberText.h"

#include <algorithm>

namespace velmaris {

int KeyInValueFromText(std::string_view text, int previous)
{
    text = text.substr(0, kKeyInMaxChars);
    if (text.empty())
        return previous;
    return ParseIniInt(std::string(text)); // three characters cannot overflow
}

int ApplyKeyIn(SettingsOperations& operations, KeyInKind kind, int value)
{
    switch (kind) {
    case KeyInKind::Range:
        // The typed number is remembered undivided, so Enter on an empty
        // field in feet repeats the same range.
        operations.SetRangeKeyIn(value);
        return value;
    case KeyInKind::Gain:
        operations.SetGain(value);
        return std::min(value, 40);
    case KeyInKind::SectorWidth:
        operations.SetSectorWidth(value);
        return value;
    case KeyInKind::Train:
        operations.SetTrain(value);
        return value;
    }
    return value;
}

ScreenPoint KeyInWindowPosition(int mainLeft, int mainTop, int mainWidth, int keyInWidth)
{
    return {mainLeft + mainWidth - 15 - keyInWidth, mainTop + 31};
}

} // namespace velmaris
