#include "document/KeyInRules.h"

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
