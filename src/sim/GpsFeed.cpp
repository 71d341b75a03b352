#include "sim/GpsFeed.h"

#include "sim/UtcTime.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace velmaris::sim {

namespace {

bool ParseSeconds(std::string_view text, double& out)
{
    const std::string s(text);
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return !s.empty() && end == s.c_str() + s.size() && std::isfinite(out) && out >= 0.0;
}

} // namespace

bool IsTalker(std::string_view text)
{
    return text.size() == 2 && std::isupper(static_cast<unsigned char>(text[0]))
        && std::isupper(static_cast<unsigned char>(text[1]));
}

std::optional<GpsDropouts> ParseDropouts(std::string_view text, std::string* error)
{
    auto fail = [error](const char* message) -> std::optional<GpsDropouts> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    GpsDropouts d;
    const std::size_t first = text.find(':');
    if (first == std::string_view::npos)
        return fail("--dropouts must be EVERY:LENGTH[:nofix] in seconds");
    std::string_view rest = text.substr(first + 1);
    const std::size_t second = rest.find(':');
    if (second != std::string_view::npos) {
        if (rest.substr(second + 1) != "nofix")
            return fail("--dropouts: the third part may only be nofix");
        d.noFix = true;
        rest = rest.substr(0, second);
    }
    if (!ParseSeconds(text.substr(0, first), d.every) || !ParseSeconds(rest, d.length))
        return fail("--dropouts must be EVERY:LENGTH[:nofix] in seconds");
    if (d.every <= 0.0 || d.length <= 0.0 || d.length >= d.every)
        return fail("--dropouts: LENGTH must be above 0 and below EVERY");
    return d;
}

GpsFeed::GpsFeed(const BoatOptions& boat, const GpsFeedOptions& options)
    : boat_(boat)
    , options_(options)
{ }

bool GpsFeed::InDropout(double clockSeconds) const
{
    const GpsDropouts& d = options_.dropouts;
    if (d.every <= 0.0 || d.length <= 0.0)
        return false;
    double phase = std::fmod(clockSeconds - boat_.Options().epoch, d.every);
    if (phase < 0.0)
        phase += d.every;
    return phase >= d.every - d.length;
}

NavFix GpsFeed::FixAt(double clockSeconds) const
{
    NavFix fix;
    fix.utc = UtcFromUnixMs(std::llround(clockSeconds * 1000.0));
    fix.valid = !InDropout(clockSeconds);
    const BoatPose pose = boat_.PoseAt(clockSeconds);
    fix.position = boat_.PositionOf(pose);
    fix.speedKnots = pose.speed / kMetresPerSecondPerKnot;
    fix.courseDegrees = pose.course;
    fix.headingDegrees = pose.heading;
    return fix;
}

std::vector<std::string> GpsFeed::Epoch(double clockSeconds)
{
    const NavFix fix = FixAt(clockSeconds);
    if (!fix.valid && !options_.dropouts.noFix)
        return {};
    const std::string_view talker = options_.talker;
    std::vector<std::string> out {RmcSentence(fix, talker), GgaSentence(fix, talker),
        VtgSentence(fix, talker), HdtSentence(fix, talker)};
    for (std::string& sentence : out)
        if (options_.badChecksumEvery > 0
            && ++sentences_ % static_cast<unsigned>(options_.badChecksumEvery) == 0)
            sentence = SpoilChecksum(std::move(sentence));
    return out;
}

} // namespace velmaris::sim
