#include "controls/SoundVelocity.h"

#include "protocol/NumberText.h"

#include "controls/ControlTexts.h"

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
    return ParseIniDouble(std::string(text.substr(0, kSoundVelocityMaxChars)));
}

bool IsSoundVelocityAccepted(double speed)
{
    return speed >= kSoundVelocityMin && speed <= kSoundVelocityMax;
}

} // namespace velmaris
