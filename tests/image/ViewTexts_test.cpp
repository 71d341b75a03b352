#include "image/ViewTexts.h"

#include <gtest/gtest.h>

#include "image/SonarState.h"
#include "image/ViewSource.h"
#include "protocol/CommandMessage.h"

namespace velmaris {
namespace {

ViewStatus Disconnected()
{
    ViewStatus s;
    s.linkState = LinkState::Down;
    s.sonarComPort = 3;
    s.headAddress = "10.0.0.7";
    s.blinkToggle = true;
    return s;
}

void ExpectChoice(const StatusBoxChoice& c, const std::string& text, int x, int w)
{
    EXPECT_TRUE(c.hasText);
    EXPECT_EQ(c.text, text);
    EXPECT_EQ(c.x, x);
    EXPECT_EQ(c.w, w);
}

TEST(ViewTextsTest, StatusBoxChoicesInTableOrder)
{
    ViewStatus s = Disconnected();
    ExpectChoice(ChooseStatusBox(s, 1, 1000), "No Connection", 440, 172);
    ExpectChoice(ChooseStatusBox(s, 0, 1000), "Com Port : COM3 ", 420, 202);
    s.sonarType = SonarType::EthernetK52L;
    ExpectChoice(ChooseStatusBox(s, 0, 1000), "IP: 10.0.0.7", 435, 172);
    s.linkState = LinkState::Connecting; // connecting counts as not connected
    ExpectChoice(ChooseStatusBox(s, 1, 1000), "No Connection", 440, 172);
    s.awaitingReply = true; // awaiting a reply matters only once linked or playing
    ExpectChoice(ChooseStatusBox(s, 0, 1000), "IP: 10.0.0.7", 435, 172);

    s.linkState = LinkState::Up;
    ExpectChoice(ChooseStatusBox(s, 1, 1000), "No Data at IP: 10.0.0.7", 415, 270);
    s.sonarType = SonarType::SerialK52A;
    ExpectChoice(ChooseStatusBox(s, 1, 1000), "No Data at  COM3 ", 415, 202);
    s.linkState = LinkState::Down;
    s.playback = true;
    ExpectChoice(ChooseStatusBox(s, 1, 1000), "No Data at  COM3 ", 415, 202);

    s.awaitingReply = false;
    StatusBoxChoice none = ChooseStatusBox(s, 1, 1000); // playing back, answered
    EXPECT_FALSE(none.hasText);
    EXPECT_FALSE(none.resetBlinkCounter);
    s.playback = false;
    s.linkState = LinkState::Up;
    none = ChooseStatusBox(s, 1, 1000);
    EXPECT_FALSE(none.hasText);
    EXPECT_TRUE(none.resetBlinkCounter);

    // UDP mode comes first, whatever the link.
    ViewStatus udp = Disconnected();
    udp.udpMode = true;
    EXPECT_FALSE(ChooseStatusBox(udp, 1, 1000).hasText);
    udp.linkState = LinkState::Up;
    udp.awaitingReply = true;
    EXPECT_FALSE(ChooseStatusBox(udp, 0, 1000).hasText);
}

TEST(ViewTextsTest, StatusBoxDrawnOnBlinkToggleAndAlternates)
{
    ViewStatus s = Disconnected();
    ViewInteraction view;
    ViewScene scene;
    AppendStatusBox(scene, s, view, 1000, 600);
    ASSERT_EQ(scene.size(), 2u);
    EXPECT_EQ(std::get<ViewBox>(scene[0]), (ViewBox {394, 572, 622, 599, 395, 573, 620, 598}));
    const ViewText& text = std::get<ViewText>(scene[1]);
    EXPECT_EQ(text.text, "Com Port : COM3 ");
    EXPECT_EQ(text.x, 420);
    EXPECT_EQ(text.y, 573);
    EXPECT_EQ(text.color, kStatusBoxTextColor);
    EXPECT_EQ(text.background, kStatusBoxFillColor);
    EXPECT_TRUE(view.blinkState);

    scene.clear();
    AppendStatusBox(scene, s, view, 1000, 600);
    EXPECT_EQ(std::get<ViewText>(scene.at(1)).text, "No Connection");
    EXPECT_FALSE(view.blinkState);

    // Toggle off or a drag in progress: nothing drawn, the blink state stays.
    scene.clear();
    s.blinkToggle = false;
    AppendStatusBox(scene, s, view, 1000, 600);
    view.dragging = true;
    s.blinkToggle = true;
    AppendStatusBox(scene, s, view, 1000, 600);
    EXPECT_TRUE(scene.empty());
    EXPECT_FALSE(view.blinkState);

    // Never in UDP mode.
    view.dragging = false;
    s.udpMode = true;
    AppendStatusBox(scene, s, view, 1000, 600);
    EXPECT_TRUE(scene.empty());

    // A linked head that answers resets the counter.
    s.udpMode = false;
    s.linkState = LinkState::Up;
    view.blinkCounter = 4;
    AppendStatusBox(scene, s, view, 1000, 600);
    EXPECT_TRUE(scene.empty());
    EXPECT_EQ(view.blinkCounter, 0);
}

TEST(ViewTextsTest, RangeReadoutsInMetresAndFeet)
{
    SonarState state;
    state.settings.rangeIndex = 7; // 30 m
    state.command[CommandMessage::kFrequency] = 165;
    state.command[CommandMessage::kGain] = 20;
    std::vector<ViewText> t = RangeReadouts(state.settings, state.command);
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0], (ViewText {"30 m", 5, 5, ViewFont::A, kRangeTextColor}));
    EXPECT_EQ(t[1], (ViewText {"1000 kHz", 5, 35, ViewFont::A, kRangeTextColor}));
    EXPECT_EQ(t[2], (ViewText {"(6.0 m/div)", 100, 8, ViewFont::A, kScaleTextColor}));
    EXPECT_EQ(t[3], (ViewText {"(20 dB)", 100, 35, ViewFont::A, kScaleTextColor}));

    state.settings.metricScale = 1;
    t = RangeReadouts(state.settings, state.command);
    EXPECT_EQ(t[0].text, "90 ft");
    EXPECT_EQ(t[2].text, "(18.0 ft/div)");

    state.settings.rangeIndex = 0; // 1 m
    t = RangeReadouts(state.settings, state.command);
    EXPECT_EQ(t[0].text, "3 ft");
    EXPECT_EQ(t[2].text, "(0.6 ft/div)");

    state.settings.grid = 0; // no per-division text without a grid
    t = RangeReadouts(state.settings, state.command);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[2].text, "(20 dB)");

    state.settings.viewRangeMark = 0;
    EXPECT_TRUE(RangeReadouts(state.settings, state.command).empty());
}

TEST(ViewTextsTest, StatusLineWithPingCountDots)
{
    ViewStatus s;
    s.pingCount = 10; // 3 dots
    std::vector<ViewText> t = StatusLine(s, 1, 1000);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0], (ViewText {"Not Recording...", 825, 5, ViewFont::B, kNotRecordingColor}));

    s.recording = true;
    s.pingCount = 6;
    s.outputFileLength = 2047;
    t = StatusLine(s, 1, 1000);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0], (ViewText {"Recording......", 850, 5, ViewFont::B, kRecordingColor}));
    EXPECT_EQ(t[1], (ViewText {"1 K Bytes", 850, 30, ViewFont::B, kRangeTextColor}));

    s.playback = true;
    s.pingCount = 7;
    s.outputFileLength = 5 * 1024 * 1024;
    t = StatusLine(s, 1, 1000);
    EXPECT_EQ(t[0], (ViewText {"File Copying", 850, 5, ViewFont::B, kRecordingColor}));
    EXPECT_EQ(t[1].text, "5120 K Bytes");

    s.recording = false;
    s.pingCount = 15;
    t = StatusLine(s, 0, 1000);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0], (ViewText {"File Playing.", 850, 5, ViewFont::B, kRangeTextColor}));

    // Held replaces everything, its colour following ViewRangeMark.
    s.held = true;
    s.recording = true;
    t = StatusLine(s, 1, 1000);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0], (ViewText {"Held", 910, 5, ViewFont::A, kScaleTextColor}));
    EXPECT_EQ(StatusLine(s, 0, 1000)[0].color, kRangeTextColor);
}

TEST(ViewTextsTest, MeasurementTextAboveTheCursor)
{
    EXPECT_EQ(
        MeasurementText(6.0, 0, 300, 200), (ViewText {"6.00 m", 300, 170, ViewFont::A, kMeasureTextColor}));
    EXPECT_EQ(MeasurementText(3.048, 1, 0, 0).text, "10.00 ft");
}

TEST(ViewTextsTest, SceneOrderAndModeDependentParts)
{
    SonarState state;
    ViewStatus status;
    status.linkState = LinkState::Up;
    ViewInteraction view;
    state.settings.sectorMode = DisplayMode::Polar;
    state.settings.grid = 0;
    state.settings.viewRangeMark = 0;
    ViewGeometry geo = ComputeViewGeometry(800, 600, 1.0, DisplayMode::Polar, 0, 0);
    ViewScene scene = BuildViewScene(state, status, view, geo);
    ASSERT_EQ(scene.size(), 2u); // head line and the status line
    EXPECT_EQ(std::get<ViewLine>(scene[0]).from, (ScreenPoint {400, 300}));
    EXPECT_EQ(std::get<ViewText>(scene[1]).text, "Not Recording");

    view.measurementShown = true;
    view.anchorX = 100;
    view.anchorY = 120;
    view.cursorX = 200;
    view.cursorY = 220;
    view.targetSize = 1.5;
    state.settings.sectorMode = DisplayMode::SideScan;
    geo = ComputeViewGeometry(800, 600, 1.0, DisplayMode::SideScan, 0, 0);
    scene = BuildViewScene(state, status, view, geo);
    ASSERT_EQ(scene.size(), 5u); // no head line in SideScan
    EXPECT_EQ(std::get<ViewLine>(scene[1]), (ViewLine {{92, 120}, {108, 120}, kMeasureLineColor}));
    EXPECT_EQ(std::get<ViewLine>(scene[2]), (ViewLine {{100, 112}, {100, 128}, kMeasureLineColor}));
    EXPECT_EQ(std::get<ViewLine>(scene[3]), (ViewLine {{100, 120}, {200, 220}, kMeasureLineColor}));
    EXPECT_EQ(std::get<ViewText>(scene[4]).text, "1.50 m");
}

} // namespace
} // namespace velmaris
