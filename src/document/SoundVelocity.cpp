#include "document/SoundVelocity.h"

#include "document/ControlTexts.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace velmaris {

std::string SoundVelocityText(double speed)
{
    return FixedText(speed, 1);
}

int SoundVelocitySpinPosition(double speed)
{
    const double tenths = (speed - kSoundVelocityMin) * 10.0;
    if (!(tenths > 0.0)) // also NaN
        return 0;
    if (tenths >= kSoundVelocitySpinUpper)
        return kSoundVelocitySpinUpper;
    return static_cast<int>(tenths);
}

double InitialWorkingSpeed(double stored)
{
    return std::isfinite(stored) ? std::trunc(stored) : kSoundVelocityDefault;
}

double StepSoundVelocity(double working, int delta)
{
    if ((working >= kSoundVelocityMax && delta >= 0) || (working <= kSoundVelocityMin && delta < 1))
        return working;
    const double next = std::round((working + delta / 10.0) * 10.0) / 10.0;
    return std::clamp(next, kSoundVelocityMin, kSoundVelocityMax);
}

double SoundVelocityFromText(std::string_view text)
{
    text = text.substr(0, kSoundVelocityMaxChars);
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i < text.size() && text[i] == '-') // a second sign is no number
        return 0.0;
    double value = 0.0;
    const auto result
        = std::from_chars(text.data() + i, text.data() + text.size(), value, std::chars_format::fixed);
    if (result.ec != std::errc {})
        return 0.0;
    return negative ? -value : value;
}

bool IsSoundVelocityAccepted(double speed)
{
    return speed >= kSoundVelocityMin && speed <= kSoundVelocityMax;
}

} // namespace velmaris
