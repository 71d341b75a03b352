#pragma once
// The station's unit conversions, each written once: every text, rule and
// edge that turns a code into what it stands for calls these. Pure constexpr
// functions; no state, no failure.

namespace velmaris {

// Frequency (command byte 25, `Frequency`): kHz = 5 x code + 175.
constexpr int FrequencyKhzForCode(int code)
{
    return 5 * code + 175;
}
// And back, as the record header is read: exact for every whole code; C++
// division truncates toward zero, so the offset keeps kHz below 175 (never
// written) from rounding the other way.
constexpr int FrequencyCodeForKhz(int khz)
{
    return (khz - 675) / 5 + 100;
}

// Sector width and train travel in codes of 3 degrees (command bytes 11 and
// 12, record-header bytes): degrees for a code, and the code of a whole
// number of degrees, rounded down.
inline constexpr int kDegreesPerCode = 3;
constexpr int DegreesForCode(int code)
{
    return kDegreesPerCode * code;
}
constexpr int CodeForDegrees(int degrees)
{
    return degrees / kDegreesPerCode;
}

// The range in feet units: the station shows 3 ft for every metre of the
// range table and reads a range typed in feet back the same way, rounded
// down (so the range marks stay round numbers in either unit).
inline constexpr int kShownFeetPerMetre = 3;
constexpr int ShownFeetForMetres(int metres)
{
    return kShownFeetPerMetre * metres;
}
constexpr double ShownFeetForMetres(double metres)
{
    return metres * kShownFeetPerMetre;
}
constexpr int MetresForShownFeet(int feet)
{
    return feet / kShownFeetPerMetre;
}

// Measured distances in feet units are exact feet.
inline constexpr double kMetresPerFoot = 0.3048;
constexpr double FeetForMetres(double metres)
{
    return metres / kMetresPerFoot;
}
constexpr double MetresForFeet(double feet)
{
    return feet * kMetresPerFoot;
}

} // namespace velmaris
