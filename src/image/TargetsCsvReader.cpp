#include "image/TargetsCsvReader.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace velmaris {
namespace {

constexpr std::size_t kFields = 9;
constexpr std::size_t kPlaceFields = 6;

// Cuts one row into fields from `at`, which moves past its line end. False
// for a quote left open, text after a closing quote, or a field over the cap.
bool NextRow(std::string_view text, std::size_t& at, std::vector<std::string>& fields, int& lines)
{
    fields.assign(1, std::string());
    ++lines;
    while (at < text.size()) {
        const char c = text[at];
        std::string& field = fields.back();
        if (c == '"' && field.empty()) {
            for (++at;; ++at) {
                if (at >= text.size())
                    return false;
                if (text[at] == '"') {
                    if (at + 1 < text.size() && text[at + 1] == '"') {
                        ++at;
                    } else {
                        ++at;
                        break;
                    }
                }
                if (text[at] == '\n')
                    ++lines;
                if (field.size() >= kTargetsCsvFieldCap)
                    return false;
                field += text[at];
            }
            if (at < text.size() && text[at] != ',' && text[at] != '\r' && text[at] != '\n')
                return false;
            continue;
        }
        if (c == ',') {
            fields.emplace_back();
        } else if (c == '\n' || (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n')) {
            at += c == '\r' ? 2 : 1;
            return true;
        } else {
            if (field.size() >= kTargetsCsvFieldCap)
                return false;
            field += c;
        }
        ++at;
    }
    return true;
}

std::optional<double> Number(const std::string& text, double least, double most)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value) || value < least
        || value > most)
        return std::nullopt;
    return value;
}

// The row's target, or the cause of its failure.
std::optional<MeasuredTarget> Target(const std::vector<std::string>& f, bool placed, std::string& cause)
{
    MeasuredTarget t;
    t.measuredAt = f[0];
    t.pingDate = f[1];
    t.pingTime = f[2];
    const auto distance = [&](std::size_t i, double& out) {
        const auto v = Number(f[i], 0.0, 1e9);
        if (!v)
            cause = "field " + std::to_string(i + 1) + " is not a distance";
        else
            out = *v;
        return v.has_value();
    };
    const auto bearing = [&](std::size_t i, std::optional<double>& out) {
        if (f[i].empty())
            return true;
        out = Number(f[i], 0.0, 360.0);
        if (!out)
            cause = "field " + std::to_string(i + 1) + " is not a bearing";
        return out.has_value();
    };
    double feet = 0;
    if (!distance(3, t.anchorRange) || !bearing(4, t.anchorBearing) || !distance(5, t.endRange)
        || !bearing(6, t.endBearing) || !distance(7, t.size) || !distance(8, feet))
        return std::nullopt;
    if (!placed)
        return t;
    std::size_t empty = 0;
    for (std::size_t i = kFields; i < kFields + kPlaceFields; ++i)
        empty += f[i].empty() ? 1 : 0;
    if (empty == kPlaceFields)
        return t;
    TargetPlaces p;
    TargetPlace* const places[] = {&p.anchor, &p.middle, &p.end};
    for (std::size_t k = 0; k < 3; ++k) {
        const auto lat = Number(f[kFields + 2 * k], -90.0, 90.0);
        const auto lon = Number(f[kFields + 2 * k + 1], -180.0, 180.0);
        if (!lat || !lon) {
            cause = "fields " + std::to_string(kFields + 2 * k + 1) + " and "
                + std::to_string(kFields + 2 * k + 2) + " are not a latitude and a longitude";
            return std::nullopt;
        }
        *places[k] = TargetPlace {*lat, *lon};
    }
    t.places = p;
    return t;
}

} // namespace

bool ReadTargetsCsv(std::string_view text, std::vector<MeasuredTarget>& targets, std::string& error)
{
    targets.clear();
    const std::string header(kTargetsCsvHeader);
    const std::string placedHeader = header + std::string(kTargetsCsvPlacesHeader);
    std::size_t at = 0;
    int lines = 0; // lines read so far
    int rowLine = 1; // where the row read last begins
    std::vector<std::string> fields;
    const auto fail = [&](const std::string& cause) {
        error = "line " + std::to_string(rowLine) + ": " + cause;
        targets.clear();
        return false;
    };
    // The header as written, its fields joined again.
    if (!NextRow(text, at, fields, lines))
        return fail("not a targets file");
    std::string joined;
    for (std::size_t i = 0; i < fields.size(); ++i)
        joined += (i ? "," : "") + fields[i];
    if (joined != header && joined != placedHeader)
        return fail("not the header of a targets file");
    const bool placed = joined == placedHeader;
    const std::size_t count = placed ? kFields + kPlaceFields : kFields;
    while (at < text.size()) {
        rowLine = lines + 1;
        if (!NextRow(text, at, fields, lines))
            return fail("a field is not closed or is too long");
        if (fields.size() == 1 && fields[0].empty())
            continue; // a blank line
        if (fields.size() != count)
            return fail(
                std::to_string(fields.size()) + " fields where the header has " + std::to_string(count));
        if (targets.size() >= kTargetsCsvRowCap)
            return fail("more than " + std::to_string(kTargetsCsvRowCap) + " targets");
        std::string cause;
        auto target = Target(fields, placed, cause);
        if (!target)
            return fail(cause);
        targets.push_back(std::move(*target));
    }
    return true;
}

} // namespace velmaris
