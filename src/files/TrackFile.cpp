#include "files/TrackFile.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>

namespace velmaris {
namespace {

constexpr std::array<std::string_view, 12> kMonths {
    "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

bool Digit(char c)
{
    return c >= '0' && c <= '9';
}

// `count` digits at `at` as a number, or -1.
int Number(std::string_view text, std::size_t at, std::size_t count)
{
    if (at + count > text.size())
        return -1;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!Digit(text[i]))
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool ValidDate(int year, int month, int day)
{
    return year >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

bool ValidTime(int hour, int minute, int second)
{
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 60;
}

std::string_view WithoutLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

} // namespace

std::string TrackPathFor(const std::string& dataPath)
{
    return dataPath + kTrackExtension;
}

std::optional<TrackLineView> ParseTrackLine(std::string_view line)
{
    line = WithoutLineEnd(line);
    // "YYYY-MM-DDTHH:MM:SS.hh" then "+HH:MM", "-HH:MM" or "Z", then a tab.
    if (line.size() < 24 || line.size() > kTrackLineCap || line[4] != '-' || line[7] != '-' || line[10] != 'T'
        || line[13] != ':' || line[16] != ':' || line[19] != '.')
        return std::nullopt;
    const int year = Number(line, 0, 4), month = Number(line, 5, 2), day = Number(line, 8, 2);
    const int hour = Number(line, 11, 2), minute = Number(line, 14, 2), second = Number(line, 17, 2);
    const int hundredths = Number(line, 20, 2);
    if (!ValidDate(year, month, day) || !ValidTime(hour, minute, second) || hundredths < 0)
        return std::nullopt;
    TrackLineView view;
    std::size_t tab = 0;
    if (line[22] == 'Z') {
        tab = 23;
    } else if ((line[22] == '+' || line[22] == '-') && line.size() >= 29 && line[25] == ':') {
        const int h = Number(line, 23, 2), m = Number(line, 26, 2);
        if (h < 0 || h > 18 || m < 0 || m > 59)
            return std::nullopt;
        view.utcOffsetMinutes = (line[22] == '-' ? -1 : 1) * (h * 60 + m);
        tab = 28;
    } else {
        return std::nullopt;
    }
    if (tab >= line.size() || line[tab] != '\t')
        return std::nullopt;
    view.localSeconds = LocalSeconds(LocalTime {year, month, day, hour, minute, second, hundredths * 10});
    view.sentence = line.substr(tab + 1);
    return view;
}

std::optional<int> TrackUtcOffset(std::string_view text)
{
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lf = text.find('\n', start);
        const std::size_t end = lf == std::string_view::npos ? text.size() : lf + 1;
        if (const auto line = ParseTrackLine(text.substr(start, end - start)))
            return line->utcOffsetMinutes;
        start = end;
    }
    return std::nullopt;
}

std::optional<double> PingStampSeconds(
    std::string_view date, std::string_view time, std::string_view hundredths)
{
    // "07-DEC-2026", "14:30:05", ".42" (". 4" for four hundredths).
    if (date.size() != 11 || date[2] != '-' || date[6] != '-' || time.size() != 8 || time[2] != ':'
        || time[5] != ':')
        return std::nullopt;
    int month = 0;
    for (std::size_t i = 0; i < kMonths.size(); ++i)
        if (date.substr(3, 3) == kMonths[i])
            month = static_cast<int>(i) + 1;
    const int day = Number(date, 0, 2), year = Number(date, 7, 4);
    const int hour = Number(time, 0, 2), minute = Number(time, 3, 2), second = Number(time, 6, 2);
    if (!ValidDate(year, month, day) || !ValidTime(hour, minute, second))
        return std::nullopt;
    int centis = 0;
    if (hundredths.size() == 3 && hundredths[0] == '.') {
        const char tens = hundredths[1] == ' ' ? '0' : hundredths[1];
        if (!Digit(tens) || !Digit(hundredths[2]))
            return std::nullopt;
        centis = (tens - '0') * 10 + (hundredths[2] - '0');
    } else if (!hundredths.empty()) {
        return std::nullopt;
    }
    return LocalSeconds(LocalTime {year, month, day, hour, minute, second, centis * 10});
}

bool ReadTrackText(const std::string& path, std::string& text, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "the track cannot be opened";
        return false;
    }
    text.assign(kTrackReadCap, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return true;
}

TrackSpan::TrackSpan(std::string text)
    : text_(std::move(text))
{
    const std::string_view all(text_);
    for (std::size_t start = 0; start < all.size();) {
        const std::size_t lf = all.find('\n', start);
        const std::size_t end = lf == std::string_view::npos ? all.size() : lf + 1;
        const std::string_view line = all.substr(start, end - start);
        // A last line without its line feed was cut short by a kill: left out.
        if (lf != std::string_view::npos)
            if (const auto view = ParseTrackLine(line))
                lines_.push_back(Line {view->localSeconds, line});
        start = end;
    }
    std::stable_sort(
        lines_.begin(), lines_.end(), [](const Line& a, const Line& b) { return a.seconds < b.seconds; });
}

void TrackSpan::Emit(
    double from, double to, bool includeFrom, bool includeTo, std::vector<std::string_view>& out) const
{
    auto it = std::lower_bound(
        lines_.begin(), lines_.end(), from, [](const Line& l, double t) { return l.seconds < t; });
    for (; it != lines_.end() && (it->seconds < to || (includeTo && it->seconds == to)); ++it)
        if (includeFrom || it->seconds > from)
            out.push_back(it->text);
}

void TrackSpan::LinesFor(double seconds, std::vector<std::string_view>& out)
{
    const double from = seconds - kTrackCopyMarginSeconds;
    const double to = seconds + kTrackCopyMarginSeconds;
    if (covered_ && from <= coveredTo_ && to >= coveredFrom_) {
        // Within or next to what the copy has: only the new ends.
        if (from < coveredFrom_) {
            Emit(from, coveredFrom_, true, false, out);
            coveredFrom_ = from;
        }
        if (to > coveredTo_) {
            Emit(coveredTo_, to, false, true, out);
            coveredTo_ = to;
        }
        return;
    }
    Emit(from, to, true, true, out);
    covered_ = true;
    coveredFrom_ = from;
    coveredTo_ = to;
}

} // namespace velmaris
