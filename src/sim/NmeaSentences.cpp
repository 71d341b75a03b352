#include "sim/NmeaSentences.h"

#include <cmath>
#include <cstdio>

namespace velmaris::sim {

namespace {

std::string Finish(std::string_view talker, std::string_view body)
{
    std::string inner = std::string(talker) + std::string(body);
    return "$" + inner + "*" + NmeaChecksum(inner) + "\r\n";
}

// "hhmmss.ss" of the fix.
std::string TimeField(const LocalTime& t)
{
    char text[48];
    std::snprintf(text, sizeof text, "%02d%02d%02d.%02d", t.hour, t.minute, t.second, t.millisecond / 10);
    return text;
}

// "ddmm.mmmmm,N" or "dddmm.mmmmm,E"; the minutes are rounded first so a
// carry reaches the degrees.
std::string AngleFields(double degrees, bool latitude)
{
    const char hemisphere = latitude ? (degrees < 0.0 ? 'S' : 'N') : (degrees < 0.0 ? 'W' : 'E');
    const long long units = std::llround(std::abs(degrees) * 60.0 * 100000.0); // 1e-5 minute
    const long long whole = units / (60LL * 100000);
    const double minutes = static_cast<double>(units % (60LL * 100000)) / 100000.0;
    char text[32];
    std::snprintf(
        text, sizeof text, latitude ? "%02lld%08.5f,%c" : "%03lld%08.5f,%c", whole, minutes, hemisphere);
    return text;
}

// An angle to hundredths, 0.00 to 359.99.
std::string AngleText(double degrees)
{
    long long hundredths = std::llround(degrees * 100.0) % 36000;
    if (hundredths < 0)
        hundredths += 36000;
    char text[16];
    std::snprintf(text, sizeof text, "%lld.%02lld", hundredths / 100, hundredths % 100);
    return text;
}

std::string Fixed(double value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

} // namespace

std::string NmeaChecksum(std::string_view body)
{
    unsigned sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    char text[3];
    std::snprintf(text, sizeof text, "%02X", sum & 0xFF);
    return text;
}

std::string RmcSentence(const NavFix& f, std::string_view talker)
{
    char date[40];
    std::snprintf(date, sizeof date, "%02d%02d%02d", f.utc.day, f.utc.month, f.utc.year % 100);
    if (!f.valid)
        return Finish(talker, "RMC," + TimeField(f.utc) + ",V,,,,,,," + date + ",,,N");
    return Finish(talker,
        "RMC," + TimeField(f.utc) + ",A," + AngleFields(f.position.latitude, true) + ","
            + AngleFields(f.position.longitude, false) + "," + Fixed(f.speedKnots, 2) + ","
            + AngleText(f.courseDegrees) + "," + date + ",,,A");
}

std::string GgaSentence(const NavFix& f, std::string_view talker)
{
    if (!f.valid)
        return Finish(talker, "GGA," + TimeField(f.utc) + ",,,,,0,00,,,M,,M,,");
    char satellites[16];
    std::snprintf(satellites, sizeof satellites, "%02d", f.satellites);
    return Finish(talker,
        "GGA," + TimeField(f.utc) + "," + AngleFields(f.position.latitude, true) + ","
            + AngleFields(f.position.longitude, false) + ",1," + satellites + "," + Fixed(f.hdop, 1)
            + ",0.0,M,0.0,M,,");
}

std::string VtgSentence(const NavFix& f, std::string_view talker)
{
    if (!f.valid)
        return Finish(talker, "VTG,,T,,M,,N,,K,N");
    return Finish(talker,
        "VTG," + AngleText(f.courseDegrees) + ",T,,M," + Fixed(f.speedKnots, 2) + ",N,"
            + Fixed(f.speedKnots * 1.852, 2) + ",K,A");
}

std::string HdtSentence(const NavFix& f, std::string_view talker)
{
    if (!f.valid)
        return Finish(talker, "HDT,,T");
    return Finish(talker, "HDT," + AngleText(f.headingDegrees) + ",T");
}

std::string SpoilChecksum(std::string sentence)
{
    const std::size_t star = sentence.rfind('*');
    if (star == std::string::npos || star + 3 > sentence.size())
        return sentence;
    // The right sum with bits flipped in both digits.
    const std::string right = NmeaChecksum(std::string_view(sentence).substr(1, star - 1));
    const unsigned value = (std::string_view("0123456789ABCDEF").find(right[0]) << 4
                               | std::string_view("0123456789ABCDEF").find(right[1]))
        ^ 0x5Au;
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value & 0xFFu);
    sentence.replace(star + 1, 2, text);
    return sentence;
}

} // namespace velmaris::sim
