// The web page's texts and strokes as JSON.
#include "web/WebTexts.h"

#include <gtest/gtest.h>

#include <memory>

#include "image/SonarState.h"

namespace velmaris {
namespace {

TEST(WebTexts, JsonStringsEscapeWhatJsonCannotCarry)
{
    struct Case {
        std::string text;
        std::string json;
    };
    const Case cases[] = {
        {"30 m", "\"30 m\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"line\r\n\t", "\"line\\u000d\\u000a\\u0009\""},
        {std::string("\x7f", 1), "\"\\u007f\""},
        {"12.5\xc2\xb0", "\"12.5\xc2\xb0\""}, // UTF-8 stays
        {"\xe2\x82\xac\xf0\x9f\x90\x9f", "\"\xe2\x82\xac\xf0\x9f\x90\x9f\""},
        {"\xff", "\"\\ufffd\""}, // a GPS receiver's stray byte
        {"\xc2", "\"\\ufffd\""}, // cut short
        {"\xc0\xaf", "\"\\ufffd\\ufffd\""}, // overlong
        {"\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\""}, // a surrogate
        {std::string("\0", 1), "\"\\u0000\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JsonString(c.text), c.json);
}

TEST(WebTexts, LinkTextFollowsTheLinkAndTheHead)
{
    struct Case {
        LinkState link;
        int awaiting, playback, udp;
        SonarType type;
        std::string text;
    };
    const Case cases[] = {
        {LinkState::Up, 0, 0, 0, SonarType::EthernetK52L, "Connected, IP: 127.0.0.1"},
        {LinkState::Up, 1, 0, 0, SonarType::EthernetK52L, "No Data at IP: 127.0.0.1"},
        {LinkState::Up, 1, 0, 0, SonarType::SerialK52A, "No Data at  COM4 "},
        {LinkState::Up, 0, 0, 0, SonarType::SerialK52A, "Connected, COM4"},
        {LinkState::Down, 0, 0, 0, SonarType::SerialK52A, "No Connection"},
        {LinkState::Connecting, 0, 0, 0, SonarType::EthernetK52L, "Connecting"},
        {LinkState::Down, 0, 1, 0, SonarType::EthernetK52L, "Playback"},
        {LinkState::Up, 0, 0, 1, SonarType::EthernetK52L, "UDP"},
    };
    for (const Case& c : cases) {
        ViewStatus status;
        status.linkState = c.link;
        status.awaitingReply = c.awaiting;
        status.playback = c.playback;
        status.udpMode = c.udp;
        status.sonarType = c.type;
        status.sonarComPort = 4;
        status.headAddress = "127.0.0.1";
        EXPECT_EQ(LinkText(status), c.text);
    }
}

TEST(WebTexts, StateCarriesTheOperatorsTextsAndTheGrid)
{
    auto state = std::make_unique<SonarState>();
    state->settings.viewRangeMark = 0; // the page shows the range whatever the view does
    state->ping.headAngle = 12.25;
    ViewStatus status;
    status.recording = true;
    status.outputFileLength = 4096;
    const ViewGeometry geo = ComputeViewGeometry(800, 600, 1.0, state->settings.sectorMode, 0, 0);

    const std::string json = BuildWebState(*state, status, ViewInteraction {}, geo, nullptr);
    for (const char* expected : {"{\"type\":\"state\",\"width\":800,\"height\":600,\"origin\":[400,300],",
             "\"range\":\"30 m\"", "\"gain\":\"(20 dB)\"", "\"mode\":\"Polar\"", "\"head\":\"12.2\xc2\xb0\"",
             "\"status\":\"Recording", "\"file\":\"4 K Bytes\"", "\"link\":\"No Connection\"", "\"gps\":null",
             "[\"l\",400,300,", "[\"a\",400,300,"})
        EXPECT_NE(json.find(expected), std::string::npos) << expected << " in " << json;

    GpsTexts gps;
    gps.latitude = "48.07.038 N";
    gps.longitude = "011.31.000 E";
    const std::string withGps = BuildWebState(*state, status, ViewInteraction {}, geo, &gps);
    EXPECT_NE(withGps.find("\"latitude\":\"48.07.038 N\",\"longitude\":\"011.31.000 E\""), std::string::npos);

    state->settings.grid = 0;
    const std::string noGrid = BuildWebState(*state, status, ViewInteraction {}, geo, nullptr);
    EXPECT_EQ(noGrid.find("\"scale\""), std::string::npos);
    EXPECT_EQ(noGrid.find("[\"a\""), std::string::npos) << "no rings without a grid";
}

} // namespace
} // namespace velmaris
