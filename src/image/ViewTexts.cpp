#include "image/ViewTexts.h"

#include <cstdarg>
#include <cstdio>

#include "image/ViewSource.h"
#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"
#include "protocol/Units.h"

namespace velmaris {

namespace {

constexpr int kStatusBoxFromBottom = 27;

std::string WithDots(const char* word, int pingCount)
{
    const int n = ((pingCount % 7) + 7) % 7;
    return std::string(word) + std::string(static_cast<std::size_t>(n), '.');
}

} // namespace

std::string FormatText(const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0)
        return {};
    return std::string(buffer,
        static_cast<std::size_t>(n) < sizeof buffer ? static_cast<std::size_t>(n) : sizeof buffer - 1);
}

StatusBoxChoice ChooseStatusBox(const ViewStatus& status, bool blinkState, int cx)
{
    StatusBoxChoice c;
    const int b = cx / 2;
    const bool serial = status.sonarType == SonarType::SerialK52A;
    auto set = [&c](std::string text, int x, int w) {
        c.hasText = true;
        c.text = std::move(text);
        c.x = x;
        c.w = w;
    };
    if (status.udpMode)
        return c;
    if (!status.playback && status.linkState != LinkState::Up) {
        if (blinkState) {
            set("No Connection", b - 60, 172);
        } else if (serial) {
            set(FormatText("Com Port : COM%d ", status.sonarComPort), b - 80, 202);
        } else {
            set(FormatText("IP: %s", status.headAddress.c_str()), b - 65, 172);
        }
    } else if (status.awaitingReply) {
        if (serial) {
            set(FormatText("No Data at  COM%d ", status.sonarComPort), b - 85, 202);
        } else {
            set(FormatText("No Data at IP: %s", status.headAddress.c_str()), b - 85, 270);
        }
    } else if (status.linkState == LinkState::Up) {
        c.resetBlinkCounter = true;
    }
    return c;
}

void AppendStatusBox(ViewScene& scene, const ViewStatus& status, ViewInteraction& view, int cx, int cy)
{
    const StatusBoxChoice choice = ChooseStatusBox(status, view.blinkState, cx);
    if (choice.resetBlinkCounter)
        view.blinkCounter = 0;
    if (!choice.hasText || view.dragging || !status.blinkToggle)
        return;
    const int x = choice.x;
    const int y = cy - kStatusBoxFromBottom;
    const int w = choice.w;
    scene.push_back(ViewBox {x - 26, y - 1, x + w, y + 26, x - 25, y, x + w - 2, y + 25});
    scene.push_back(ViewText {choice.text, x, y, ViewFont::A, kStatusBoxTextColor, kStatusBoxFillColor});
    view.blinkState = !view.blinkState;
}

std::vector<ViewText> RangeReadouts(const SonarSettings& settings, const CommandMessage& command)
{
    std::vector<ViewText> texts;
    if (settings.viewRangeMark == 0)
        return texts;
    const int r = RangeMetresForIndex(settings.rangeIndex);
    const bool feet = settings.metricScale == 1;
    texts.push_back({feet ? FormatText("%d ft", ShownFeetForMetres(r)) : FormatText("%d m", r), 5, 5,
        ViewFont::A, kRangeTextColor});
    texts.push_back({FormatText("%d kHz", FrequencyKhzForCode(command[CommandMessage::kFrequency])), 5, 35,
        ViewFont::A, kRangeTextColor});
    if (settings.grid != 0) {
        texts.push_back({feet ? FormatText("(%.1f ft/div)", ShownFeetForMetres(r) / 5.0)
                              : FormatText("(%.1f m/div)", r / 5.0),
            100, 8, ViewFont::A, kScaleTextColor});
    }
    texts.push_back({FormatText("(%d dB)", static_cast<int>(command[CommandMessage::kGain])), 100, 35,
        ViewFont::A, kScaleTextColor});
    return texts;
}

std::vector<ViewText> StatusLine(const ViewStatus& status, int viewRangeMark, int cx)
{
    std::vector<ViewText> texts;
    if (status.held) {
        texts.push_back(
            {"Held", cx - 90, 5, ViewFont::A, viewRangeMark != 0 ? kScaleTextColor : kRangeTextColor});
        return texts;
    }
    const bool recording = status.recording;
    if (!status.playback) {
        if (recording) {
            texts.push_back(
                {WithDots("Recording", status.pingCount), cx - 150, 5, ViewFont::B, kRecordingColor});
        } else {
            texts.push_back({FormatText("Not %s", WithDots("Recording", status.pingCount).c_str()), cx - 175,
                5, ViewFont::B, kNotRecordingColor});
        }
    } else if (recording) {
        texts.push_back(
            {WithDots("File Copying", status.pingCount), cx - 150, 5, ViewFont::B, kRecordingColor});
    } else {
        texts.push_back(
            {WithDots("File Playing", status.pingCount), cx - 150, 5, ViewFont::B, kRangeTextColor});
    }
    if (recording) {
        const long long kilobytes = status.outputFileLength > 0 ? status.outputFileLength / 1024 : 0;
        texts.push_back({FormatText("%lld K Bytes", kilobytes), cx - 150, 30, ViewFont::B, kRangeTextColor});
    }
    return texts;
}

ViewText MeasurementText(double metres, int metricScale, int cursorX, int cursorY)
{
    std::string text
        = metricScale == 1 ? FormatText("%.2f ft", FeetForMetres(metres)) : FormatText("%.2f m", metres);
    return {std::move(text), cursorX, cursorY - 30, ViewFont::A, kMeasureTextColor};
}

} // namespace velmaris
