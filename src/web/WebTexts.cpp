#include "web/WebTexts.h"

#include <cstdio>
#include <variant>

#include "controls/ControlTexts.h"
#include "image/SonarState.h"
#include "image/ViewScene.h"
#include "image/ViewTexts.h"

namespace velmaris {

namespace {

// Length of the UTF-8 sequence starting at text[i], 0 when it is not one.
std::size_t Utf8Length(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t n = 0;
    unsigned min = 0;
    unsigned code = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        n = 2, min = 0x80, code = lead & 0x1fu;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        n = 3, min = 0x800, code = lead & 0x0fu;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        n = 4, min = 0x10000, code = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + n > text.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xc0u) != 0x80u)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3fu);
    }
    const bool surrogate = code >= 0xd800 && code <= 0xdfff;
    return (code < min || code > 0x10ffff || surrogate) ? 0 : n;
}

std::string Hex(const Rgb& c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red, c.green, c.blue);
    return text;
}

struct StrokeWriter {
    std::string& out;
    bool first = true;

    void Next()
    {
        if (!first)
            out += ',';
        first = false;
    }
    void operator()(const ViewLine& l)
    {
        Next();
        out += FormatText("[\"l\",%d,%d,%d,%d,\"", l.from.x, l.from.y, l.to.x, l.to.y) + Hex(l.color) + "\"]";
    }
    void operator()(const ViewArc& a)
    {
        if (a.radius <= 0)
            return;
        Next();
        out += FormatText("[\"a\",%d,%d,%d,%.3f,%.3f,\"", a.centre.x, a.centre.y, a.radius,
                   double(a.startDeg), double(a.sweepDeg))
            + Hex(a.color) + "\"]";
    }
    void operator()(const ViewText&) { }
    void operator()(const ViewBox&) { }
};

void Field(std::string& out, const char* name, const std::string& value, bool& first)
{
    if (!first)
        out += ',';
    first = false;
    out += JsonString(name) + ':' + JsonString(value);
}

} // namespace

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
            out += escaped;
        } else if (c >= 0x80) {
            const std::size_t n = Utf8Length(text, i);
            if (n == 0) {
                out += "\\ufffd";
                ++i;
                continue;
            }
            out.append(text.substr(i, n));
            i += n;
            continue;
        } else {
            out += char(c);
        }
        ++i;
    }
    return out + '"';
}

std::string LinkText(const ViewStatus& status)
{
    const bool serial = status.sonarType == SonarType::SerialK52A;
    const std::string head = serial ? FormatText("COM%d", status.sonarComPort)
                                    : FormatText("IP: %s", status.headAddress.c_str());
    if (status.udpMode)
        return "UDP";
    if (status.playback)
        return "Playback";
    switch (status.linkState) {
    case LinkState::Down:
        return "No Connection";
    case LinkState::Connecting:
        return "Connecting";
    case LinkState::Up:
        break;
    }
    if (status.awaitingReply)
        return serial ? FormatText("No Data at  COM%d ", status.sonarComPort) : "No Data at " + head;
    return "Connected, " + head;
}

std::string BuildWebState(const SonarState& state, const ViewStatus& status, ViewInteraction view,
    const ViewGeometry& geo, const GpsTexts* gps)
{
    // The range read-outs whether or not the view shows them: the page always does.
    SonarSettings shown = state.settings;
    shown.viewRangeMark = 1;
    const std::vector<ViewText> readouts = RangeReadouts(shown, state.command);
    const std::vector<ViewText> line = StatusLine(status, 1, geo.width);

    std::string out
        = FormatText("{\"type\":\"state\",\"width\":%d,\"height\":%d,\"origin\":[%d,%d],\"texts\":{",
            geo.width, geo.height, geo.originX, geo.originY);
    bool first = true;
    // Range and frequency always; the scale only with a grid; the gain last.
    const char* names[] = {"range", "frequency", "scale", "gain"};
    for (std::size_t i = 0; i < readouts.size(); ++i) {
        const bool last = i + 1 == readouts.size();
        Field(out, last ? "gain" : names[std::min<std::size_t>(i, 2)], readouts[i].text, first);
    }
    Field(out, "mode", ModeText(state.settings.sectorMode), first);
    Field(out, "head", FormatText("%.1f\xc2\xb0", state.ping.headAngle), first);
    Field(out, "status", line.empty() ? std::string() : line[0].text, first);
    Field(out, "file", line.size() > 1 ? line[1].text : std::string(), first);
    Field(out, "link", LinkText(status), first);
    out += "},\"gps\":";
    if (gps == nullptr) {
        out += "null";
    } else {
        bool gpsFirst = true;
        out += '{';
        Field(out, "time", gps->time, gpsFirst);
        Field(out, "date", gps->date, gpsFirst);
        Field(out, "latitude", gps->latitude, gpsFirst);
        Field(out, "longitude", gps->longitude, gpsFirst);
        Field(out, "speed", gps->speed, gpsFirst);
        Field(out, "course", gps->course, gpsFirst);
        out += '}';
    }
    out += ",\"strokes\":[";
    StrokeWriter writer {out};
    for (const ViewItem& item : BuildViewScene(state, status, view, geo))
        std::visit(writer, item);
    return out + "]}";
}

} // namespace velmaris
