#include "links/NmeaDecoder.h"

#include "links/NmeaSentence.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace velmaris {
namespace {

constexpr std::size_t kShortestSentence = 6; // this many characters or fewer: skipped
constexpr std::array<const char*, 12> kMonths {
    "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

bool Digit(char c)
{
    return c >= '0' && c <= '9';
}

int TwoDigits(std::string_view text, std::size_t at)
{
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// The first six characters as three two-digit numbers, or nullopt.
std::optional<std::array<int, 3>> SixDigits(std::string_view field)
{
    if (field.size() < 6)
        return std::nullopt;
    for (std::size_t i = 0; i < 6; ++i)
        if (!Digit(field[i]))
            return std::nullopt;
    return std::array<int, 3> {TwoDigits(field, 0), TwoDigits(field, 2), TwoDigits(field, 4)};
}

std::string Format(const char* format, double value)
{
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void TakeTime(std::string_view field, std::string& text)
{
    const auto hms = SixDigits(field);
    if (!hms || (*hms)[0] > 23 || (*hms)[1] > 59 || (*hms)[2] > 59)
        return; // the previous time stays
    char out[40];
    std::snprintf(out, sizeof out, "%02d:%02d:%02d", (*hms)[0], (*hms)[1], (*hms)[2]);
    text = out;
}

void TakeDate(std::string_view field, std::string& text)
{
    const auto dmy = SixDigits(field);
    if (!dmy || (*dmy)[0] < 1 || (*dmy)[0] > 31 || (*dmy)[1] < 1 || (*dmy)[1] > 12)
        return;
    const int yy = (*dmy)[2];
    const int year = yy > 69 ? 1900 + yy : 2000 + yy;
    char out[48];
    std::snprintf(
        out, sizeof out, "%02d-%s-%04d", (*dmy)[0], kMonths[static_cast<std::size_t>((*dmy)[1] - 1)], year);
    text = out;
}

void TakeNumber(std::string_view field, const char* format, std::string& text)
{
    if (const auto value = NmeaLeadingNumber(field))
        text = Format(format, *value);
}

void TakePosition(
    std::string_view field, std::string_view hemisphere, bool latitude, std::string& text, bool noFix)
{
    if (noFix) {
        text = kGpsNotAvailable;
        return;
    }
    std::string position = NmeaPositionText(field, hemisphere, latitude);
    if (!position.empty())
        text = std::move(position);
}

// The first "$" followed by two upper-case letters: a sentence of any
// talker (the track keeps them all; decoding picks its talkers).
std::size_t SentenceStart(std::string_view text)
{
    for (std::size_t at = text.find('$'); at != std::string_view::npos; at = text.find('$', at + 1))
        if (IsNmeaSentenceStart(text, at))
            return at;
    return std::string_view::npos;
}

} // namespace

std::string NmeaPositionText(std::string_view field, std::string_view hemisphere, bool latitude)
{
    if (hemisphere.size() != 1)
        return {};
    const char h = hemisphere[0];
    if (latitude ? (h != 'N' && h != 'S') : (h != 'E' && h != 'W'))
        return {};
    std::size_t dot = field.find('.');
    for (std::size_t i = 0; i < field.size(); ++i)
        if (!Digit(field[i]) && i != dot)
            return {};
    if (dot == std::string_view::npos)
        dot = field.size();
    // At least one degree digit, at most three, and two minute digits.
    if (dot < 3 || dot > 5)
        return {};
    const std::size_t minutesStart = dot - 2;
    const std::size_t afterPoint = dot < field.size() ? field.size() - dot - 1 : 0;
    const std::string_view minutes
        = afterPoint >= 4 ? field.substr(minutesStart, 7) : field.substr(minutesStart);
    std::string text(field.substr(0, minutesStart));
    text += '.';
    text += minutes;
    text += ' ';
    text += h;
    return text;
}

void NmeaDecoder::Reset()
{
    texts_ = GpsTexts {};
    recent_.clear();
}

void NmeaDecoder::Remember(std::string sentence)
{
    for (char& c : sentence)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\r' && c != '\n')
            || static_cast<unsigned char>(c) > 0x7e)
            c = '?';
    if (recent_.size() == kGpsRecentSentences)
        recent_.pop_front();
    recent_.push_back(std::move(sentence));
}

int NmeaDecoder::Feed(std::span<const std::uint8_t> bytes,
    const std::function<void(const std::string& sentence)>& afterSentence)
{
    return Feed(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), afterSentence);
}

int NmeaDecoder::Feed(
    std::string_view text, const std::function<void(const std::string& sentence)>& afterSentence)
{
    if (skippingLongSentence_) {
        const std::size_t lf = text.find('\n');
        if (lf == std::string_view::npos)
            return 0; // still inside the over-long sentence
        text.remove_prefix(lf + 1);
        skippingLongSentence_ = false;
    }
    receive_.append(text);
    if (receive_.size() > kGpsReceiveCap)
        receive_.erase(0, receive_.size() - kGpsReceiveCap);

    int taken = 0;
    for (;;) {
        const std::size_t start = SentenceStart(receive_);
        if (start == std::string::npos) {
            // Nothing before a sentence start can become a sentence; keep
            // only a tail that may begin one ("$" or "$G").
            const std::size_t n = receive_.size();
            const std::size_t keep
                = (n >= 2 && receive_[n - 2] == '$' && receive_[n - 1] >= 'A' && receive_[n - 1] <= 'Z') ? 2
                : receive_.ends_with('$')                                                                ? 1
                                                                                                         : 0;
            receive_.erase(0, n - keep);
            break;
        }
        const std::size_t lf = receive_.find('\n', start);
        std::string sentence;
        if (lf == std::string::npos) {
            if (receive_.size() - start < kGpsSentenceCap) {
                receive_.erase(0, start); // completed by a later tick
                break;
            }
            sentence = receive_.substr(start, kGpsSentenceCap);
            receive_.clear();
            skippingLongSentence_ = true;
        } else {
            sentence = receive_.substr(start, std::min(lf + 1 - start, kGpsSentenceCap));
            receive_.erase(0, lf + 1);
        }
        if (sentence.size() <= kShortestSentence)
            continue;
        while (!sentence.empty() && (sentence.back() == '\n' || sentence.back() == '\r'))
            sentence.pop_back();
        sentence += "\r\n";
        Remember(sentence);
        DecodeSentence(sentence);
        ++taken;
        if (afterSentence)
            afterSentence(sentence);
    }
    return taken;
}

void NmeaDecoder::DecodeSentence(std::string_view sentence)
{
    if (!sentence.starts_with('$') || !sentence.ends_with("\r\n"))
        return;
    // A damaged sentence (bad checksum, binary bytes) changes nothing.
    const std::optional<NmeaBody> parsed = NmeaSentenceBody(sentence);
    if (!parsed || !IsGnssTalker(parsed->talker))
        return;
    const std::string_view type = parsed->type;
    const NmeaFields f(parsed->body);
    const bool rmc = type == "RMC" && selection_ == NmeaSelection::Rmc;
    const bool gga = type == "GGA";
    const bool gll = type == "GLL" && selection_ == NmeaSelection::GllOrVtg;
    const bool vtg = type == "VTG" && selection_ != NmeaSelection::Rmc;

    // Each decoder stops at the first missing field; the texts of the fields
    // before it have been taken. A fix the receiver marks invalid (status V,
    // quality 0) is no position: its latitude and longitude read "n/a".
    if (gga && selection_ == NmeaSelection::GgaOrVtg) {
        dataSeen_ = true;
        if (!f.Has(1))
            return;
        TakeTime(f[1], texts_.time);
        const bool noFix = f.Has(6) && f[6] == "0";
        if (!f.Has(3))
            return;
        TakePosition(f[2], f[3], true, texts_.latitude, noFix);
        if (!f.Has(5))
            return;
        TakePosition(f[4], f[5], false, texts_.longitude, noFix);
    } else if (gll) {
        dataSeen_ = true;
        const bool noFix = f.Has(6) && f[6] == "V";
        if (!f.Has(2))
            return;
        TakePosition(f[1], f[2], true, texts_.latitude, noFix);
        if (!f.Has(4))
            return;
        TakePosition(f[3], f[4], false, texts_.longitude, noFix);
        if (!f.Has(5))
            return;
        TakeTime(f[5], texts_.time);
    } else if (rmc) {
        dataSeen_ = true;
        if (!f.Has(1))
            return;
        TakeTime(f[1], texts_.time);
        const bool noFix = f.Has(2) && f[2] == "V";
        if (!f.Has(4))
            return;
        TakePosition(f[3], f[4], true, texts_.latitude, noFix);
        if (!f.Has(6))
            return;
        TakePosition(f[5], f[6], false, texts_.longitude, noFix);
        if (!f.Has(7))
            return;
        if (!noFix)
            TakeNumber(f[7], "%.2f Knots", texts_.speed);
        if (!f.Has(8))
            return;
        if (!noFix)
            TakeNumber(f[8], "%.2f Deg.", texts_.course);
        if (!f.Has(9))
            return;
        TakeDate(f[9], texts_.date);
    } else if (vtg) {
        dataSeen_ = true;
        if (!f.Has(1))
            return;
        if (!f[1].empty())
            texts_.course = std::string(f[1]);
        if (!f.Has(5))
            return;
        TakeNumber(f[5], "%.2f Knots", texts_.speed);
    }
    if (selection_ != NmeaSelection::Rmc)
        texts_.date = kGpsNotAvailable;
}

} // namespace velmaris
