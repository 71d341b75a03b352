#include "links/NmeaSentence.h"

#include "protocol/TimeStamp.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace velmaris {
namespace {

constexpr std::string_view kGnssTalkers[] = {"GP", "GN", "GL", "GA", "GB"};
constexpr std::string_view kCompassTalkers[] = {"HE", "HC", "HN", "IN", "II"};

bool Digit(char c)
{
    return c >= '0' && c <= '9';
}

bool Upper(char c)
{
    return c >= 'A' && c <= 'Z';
}

int HexValue(char c)
{
    if (Digit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

unsigned Xor(std::string_view body)
{
    unsigned sum = 0;
    for (const char c : body)
        sum ^= static_cast<unsigned char>(c);
    return sum;
}

bool Printable(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e)
            return false;
    return true;
}

std::string_view WithoutLineEnd(std::string_view sentence)
{
    while (!sentence.empty() && (sentence.back() == '\n' || sentence.back() == '\r'))
        sentence.remove_suffix(1);
    return sentence;
}

// Cut before a second "$": the receiver began a new sentence before this
// one ended.
std::string_view Unspliced(std::string_view sentence)
{
    const std::size_t further = sentence.find('$', 1);
    return further == std::string_view::npos ? sentence : sentence.substr(0, further);
}

std::optional<double> SecondsOfDay(std::string_view field)
{
    if (field.size() < 6)
        return std::nullopt;
    for (std::size_t i = 0; i < 6; ++i)
        if (!Digit(field[i]))
            return std::nullopt;
    const int h = (field[0] - '0') * 10 + (field[1] - '0');
    const int m = (field[2] - '0') * 10 + (field[3] - '0');
    const int s = (field[4] - '0') * 10 + (field[5] - '0');
    if (h > 23 || m > 59 || s > 60) // 60: a leap second
        return std::nullopt;
    double fraction = 0;
    if (field.size() > 6 && field[6] == '.') {
        double scale = 0.1;
        for (std::size_t i = 7; i < field.size() && i < 16 && Digit(field[i]); ++i, scale /= 10)
            fraction += (field[i] - '0') * scale;
    }
    return h * 3600.0 + m * 60.0 + s + fraction;
}

// RMC's date "ddmmyy" as days from 1970-01-01; years 80 to 99 are 19xx.
std::optional<long long> UtcDay(std::string_view field)
{
    if (field.size() != 6)
        return std::nullopt;
    for (char c : field)
        if (!Digit(c))
            return std::nullopt;
    const int d = (field[0] - '0') * 10 + (field[1] - '0');
    const int m = (field[2] - '0') * 10 + (field[3] - '0');
    const int y = (field[4] - '0') * 10 + (field[5] - '0');
    if (d < 1 || d > 31 || m < 1 || m > 12)
        return std::nullopt;
    return DaysFromCivil(y >= 80 ? 1900 + y : 2000 + y, m, d);
}

// An angle field in degrees, brought into [0, 360).
std::optional<double> Angle(std::string_view field)
{
    const auto value = NmeaLeadingNumber(field);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    double a = std::fmod(*value, 360.0);
    return a < 0 ? a + 360.0 : a;
}

// A signed angle from its value and E/W letter ("" letter: east).
std::optional<double> EastWest(std::string_view value, std::string_view letter)
{
    const auto v = NmeaLeadingNumber(value);
    if (!v || (letter != "E" && letter != "W" && !letter.empty()))
        return std::nullopt;
    return letter == "W" ? -*v : *v;
}

double Wrap360(double a)
{
    a = std::fmod(a, 360.0);
    return a < 0 ? a + 360.0 : a;
}

void ReadFix(NmeaReading& r, std::optional<double> time, std::string_view lat, std::string_view ns,
    std::string_view lon, std::string_view ew, bool statusValid)
{
    r.kind = NmeaReading::Kind::Fix;
    r.secondsOfDay = time;
    const auto la = NmeaDegrees(lat, ns, true);
    const auto lo = NmeaDegrees(lon, ew, false);
    r.valid = statusValid && la && lo;
    if (r.valid) {
        r.latitude = *la;
        r.longitude = *lo;
    }
}

} // namespace

bool IsNmeaSentenceStart(std::string_view text, std::size_t at)
{
    return at + 2 < text.size() && text[at] == '$' && Upper(text[at + 1]) && Upper(text[at + 2]);
}

bool IsGnssTalker(std::string_view talker)
{
    for (const std::string_view t : kGnssTalkers)
        if (talker == t)
            return true;
    return false;
}

bool IsHeadingTalker(std::string_view talker)
{
    for (const std::string_view t : kCompassTalkers)
        if (talker == t)
            return true;
    return IsGnssTalker(talker);
}

NmeaChecksum CheckNmeaChecksum(std::string_view sentence)
{
    sentence = Unspliced(WithoutLineEnd(sentence));
    const std::size_t star = sentence.find('*');
    if (star == std::string_view::npos)
        return NmeaChecksum::Absent;
    if (sentence.empty() || sentence[0] != '$' || sentence.size() != star + 3)
        return NmeaChecksum::Bad;
    const int high = HexValue(sentence[star + 1]);
    const int low = HexValue(sentence[star + 2]);
    if (high < 0 || low < 0)
        return NmeaChecksum::Bad;
    return Xor(sentence.substr(1, star - 1)) == static_cast<unsigned>(high * 16 + low) ? NmeaChecksum::Good
                                                                                       : NmeaChecksum::Bad;
}

std::array<char, 2> NmeaChecksumDigits(std::string_view body)
{
    constexpr const char* kHex = "0123456789ABCDEF";
    const unsigned sum = Xor(body);
    return {kHex[(sum >> 4) & 0xF], kHex[sum & 0xF]};
}

NmeaFields::NmeaFields(std::string_view body)
{
    std::size_t start = 0;
    while (count_ < kKept) {
        const std::size_t comma = body.find(',', start);
        fields_[count_++] = body.substr(start, comma == std::string_view::npos ? comma : comma - start);
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
}

std::optional<NmeaBody> NmeaSentenceBody(std::string_view sentence)
{
    if (CheckNmeaChecksum(sentence) == NmeaChecksum::Bad)
        return std::nullopt;
    std::string_view body = Unspliced(WithoutLineEnd(sentence));
    if (const std::size_t star = body.find('*'); star != std::string_view::npos)
        body = body.substr(0, star);
    if (body.size() < 6 || !IsNmeaSentenceStart(body, 0) || !Printable(body))
        return std::nullopt;
    return NmeaBody {body, body.substr(1, 2), body.substr(3, 3)};
}

std::optional<double> NmeaLeadingNumber(std::string_view field)
{
    std::size_t i = 0;
    if (i < field.size() && (field[i] == '-' || field[i] == '+'))
        ++i;
    const std::size_t intStart = i;
    while (i < field.size() && Digit(field[i]))
        ++i;
    const std::size_t intDigits = i - intStart;
    std::size_t fracDigits = 0;
    if (i < field.size() && field[i] == '.') {
        ++i;
        while (i < field.size() && Digit(field[i])) {
            ++i;
            ++fracDigits;
        }
    }
    if (intDigits + fracDigits == 0 || intDigits > 9)
        return std::nullopt;
    return std::strtod(std::string(field.substr(0, i)).c_str(), nullptr);
}

std::optional<double> NmeaDegrees(std::string_view field, std::string_view hemisphere, bool latitude)
{
    if (hemisphere.size() != 1)
        return std::nullopt;
    const char h = hemisphere[0];
    if (latitude ? (h != 'N' && h != 'S') : (h != 'E' && h != 'W'))
        return std::nullopt;
    std::size_t dot = field.find('.');
    if (dot == std::string_view::npos)
        dot = field.size();
    if (dot < 3 || dot > (latitude ? 4u : 5u) || field.size() > 20)
        return std::nullopt;
    for (std::size_t i = 0; i < field.size(); ++i)
        if (!Digit(field[i]) && i != dot)
            return std::nullopt;
    double degrees = 0;
    for (std::size_t i = 0; i + 2 < dot; ++i)
        degrees = degrees * 10 + (field[i] - '0');
    const double minutes = std::strtod(std::string(field.substr(dot - 2)).c_str(), nullptr);
    if (minutes >= 60.0)
        return std::nullopt;
    const double value = degrees + minutes / 60.0;
    if (value > (latitude ? 90.0 : 180.0))
        return std::nullopt;
    return (h == 'S' || h == 'W') ? -value : value;
}

NmeaReading ReadNmeaSentence(std::string_view sentence)
{
    NmeaReading r;
    const auto parsed = NmeaSentenceBody(sentence);
    if (!parsed)
        return r;
    const NmeaFields f(parsed->body);
    const std::string_view type = parsed->type;
    if (IsGnssTalker(parsed->talker)) {
        if (type == "RMC") {
            // Mode "N" (NMEA 2.3 and later) also says the fix is not valid.
            ReadFix(r, SecondsOfDay(f[1]), f[3], f[4], f[5], f[6], f[2] == "A" && f[12] != "N");
            r.speedKnots = NmeaLeadingNumber(f[7]);
            r.courseTrue = Angle(f[8]);
            r.utcDay = UtcDay(f[9]);
            r.variation = EastWest(f[10], f[11]);
            if (f[10].empty())
                r.variation.reset();
        } else if (type == "GGA") {
            const auto quality = NmeaLeadingNumber(f[6]);
            ReadFix(r, SecondsOfDay(f[1]), f[2], f[3], f[4], f[5], quality && *quality > 0);
        } else if (type == "GLL") {
            // Before NMEA 2.0 GLL had no status: a position alone counts.
            const bool valid = f.Has(6) ? f[6] == "A" && f[7] != "N" : true;
            ReadFix(r, SecondsOfDay(f[5]), f[1], f[2], f[3], f[4], valid);
        } else if (type == "VTG" && f[2] == "T" && f[6] == "N") {
            r.kind = NmeaReading::Kind::Motion;
            r.courseTrue = Angle(f[1]);
            r.speedKnots = NmeaLeadingNumber(f[5]);
            if (f[9] == "N")
                r = NmeaReading {};
        }
        if (r.kind != NmeaReading::Kind::None)
            return r;
    }
    if (!IsHeadingTalker(parsed->talker))
        return r;
    std::optional<double> heading;
    if (type == "HDT" && f[2] == "T") {
        heading = Angle(f[1]);
    } else if (type == "THS" && f.Has(2) && f[2] != "V") {
        heading = Angle(f[1]);
    } else if (type == "HDG") {
        const auto magnetic = Angle(f[1]);
        const auto deviation = f[2].empty() ? std::optional<double>(0.0) : EastWest(f[2], f[3]);
        const auto variation = f[4].empty() ? std::nullopt : EastWest(f[4], f[5]);
        if (magnetic && deviation) {
            heading = Wrap360(*magnetic + *deviation + variation.value_or(0.0));
            r.magnetic = !variation;
        }
    }
    if (heading) {
        r.kind = NmeaReading::Kind::Heading;
        r.heading = *heading;
    }
    return r;
}

} // namespace velmaris
