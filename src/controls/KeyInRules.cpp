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

int ApplyKeyIn(SettingsOperations& operations, int kind, int value)
{
    switch (kind) {
    case kKeyInKindRange:
        // The typed number is remembered undivided, so Enter on an empty
        // field in feet repeats the same range.
        operations.SetRangeKeyIn(value);
        return value;
    case kKeyInKindGain:
        operations.SetGain(value);
        return std::min(value, 40);
    case kKeyInKindSectorWidth:
        operations.SetSectorWidth(value);
        return value;
    case kKeyInKindTrain:
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

} // namespace velmaris
