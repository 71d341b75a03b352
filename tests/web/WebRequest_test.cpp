// The web view's HTTP rules: bounded heads, the token before anything else,
// the routes and the listen address.
#include "web/WebRequest.h"

#include <gtest/gtest.h>

#include <string>

namespace velmaris {
namespace {

constexpr const char* kToken = "0123456789abcdef0123456789abcdef";

TEST(WebRequest, HeadEndsAtTheBlankLineWithinItsBound)
{
    std::size_t length = 0;
    EXPECT_EQ(ScanRequestHead("GET / HTTP/1.1\r\nHost: x\r\n", &length), HeadScan::NeedMore);
    EXPECT_EQ(ScanRequestHead("GET / HTTP/1.1\r\nHost: x\r\n\r\nbody", &length), HeadScan::Complete);
    EXPECT_EQ(length, 27u);
    EXPECT_EQ(ScanRequestHead("GET / HTTP/1.1\nHost: x\n\n", &length), HeadScan::Complete);
    EXPECT_EQ(length, 24u);
    const std::string endless = "GET / HTTP/1.1\r\nX: " + std::string(kMaxRequestHead, 'a');
    EXPECT_EQ(ScanRequestHead(endless, &length), HeadScan::TooLarge);
    // A blank line past the bound is not looked for.
    EXPECT_EQ(ScanRequestHead(endless + "\r\n\r\n", &length), HeadScan::TooLarge);
}

TEST(WebRequest, RoutesCheckTheTokenFirst)
{
    const std::string t = kToken;
    struct Case {
        std::string head;
        WebRoute route;
    };
    const Case cases[] = {
        {"GET /?token=" + t + " HTTP/1.1\r\nHost: boat\r\n\r\n", WebRoute::Page},
        {"HEAD /?token=" + t + " HTTP/1.1\r\n\r\n", WebRoute::PageHead},
        {"GET /?x=1&token=" + t + "&y=2 HTTP/1.0\r\n\r\n", WebRoute::Page},
        {"GET /ws?token=" + t + " HTTP/1.1\r\nUpgrade: WebSocket\r\nConnection: Upgrade\r\n\r\n",
            WebRoute::Socket},
        {"GET /ws?token=" + t + " HTTP/1.1\r\n\r\n", WebRoute::BadRequest}, // no upgrade
        {"GET / HTTP/1.1\r\n\r\n", WebRoute::Forbidden},
        {"GET /?token= HTTP/1.1\r\n\r\n", WebRoute::Forbidden},
        {"GET /?token=" + t.substr(1) + " HTTP/1.1\r\n\r\n", WebRoute::Forbidden},
        {"GET /?token=" + t + "0 HTTP/1.1\r\n\r\n", WebRoute::Forbidden},
        {"GET /?TOKEN=" + t + " HTTP/1.1\r\n\r\n", WebRoute::Forbidden},
        {"GET /settings HTTP/1.1\r\n\r\n", WebRoute::Forbidden}, // nothing is learnt without the token
        {"POST /?token=" + t + " HTTP/1.1\r\n\r\n", WebRoute::BadMethod},
        {"PUT /ws?token=" + t + " HTTP/1.1\r\nUpgrade: websocket\r\n\r\n", WebRoute::BadMethod},
        {"GET /record?token=" + t + " HTTP/1.1\r\n\r\n", WebRoute::NotFound},
        {"GET /../etc/passwd?token=" + t + " HTTP/1.1\r\n\r\n", WebRoute::NotFound},
        {"GET http://x/?token=" + t + " HTTP/1.1\r\n\r\n", WebRoute::BadRequest},
        {"GET /?token=" + t + " HTTP/2\r\n\r\n", WebRoute::BadRequest},
        {"get /?token=" + t + " HTTP/1.1\r\n\r\n", WebRoute::BadRequest},
        {"GET /?token=" + t + " HTTP/1.1\r\nno colon\r\n\r\n", WebRoute::BadRequest},
        {"GET /?token=" + t + " HTTP/1.1\r\nBad Name: x\r\n\r\n", WebRoute::BadRequest},
        {"GET /?token=" + t + " HTTP/1.1\r\nX: " + std::string(kMaxRequestLine, 'a') + "\r\n\r\n",
            WebRoute::BadRequest},
        {"GET  /?token=" + t + " HTTP/1.1\r\n\r\n", WebRoute::BadRequest},
        {"", WebRoute::BadRequest},
    };
    for (const Case& c : cases) {
        RequestHead head;
        const bool parsed = ParseRequestHead(c.head, head);
        EXPECT_EQ(RouteRequest(head, parsed, kToken), c.route) << c.head.substr(0, 80);
    }
    std::string many = "GET /?token=" + t + " HTTP/1.1\r\n";
    for (int i = 0; i <= kMaxRequestHeaders; ++i)
        many += "X-" + std::to_string(i) + ": 1\r\n";
    RequestHead head;
    EXPECT_FALSE(ParseRequestHead(many + "\r\n", head)) << "more headers than allowed";
    EXPECT_FALSE(TokenMatches("", "")) << "a server without a token lets nobody in";
}

TEST(WebRequest, ForbiddenSaysNothingElse)
{
    EXPECT_EQ(ShortResponse(403), "HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    EXPECT_NE(ShortResponse(405).find("Allow: GET, HEAD\r\n"), std::string::npos);
    EXPECT_EQ(ShortResponse(999).rfind("HTTP/1.1 400 ", 0), 0u);
    const std::string page = PageResponseHead(1234);
    EXPECT_NE(page.find("Content-Length: 1234\r\n"), std::string::npos);
    EXPECT_NE(page.find("connect-src 'self'"), std::string::npos) << "the page loads nothing from elsewhere";
}

TEST(WebRequest, ListenAddressIsLoopbackUnlessNamed)
{
    struct Case {
        const char* text;
        bool ok;
        const char* address;
        int port;
    };
    const Case cases[] = {
        {"8052", true, "127.0.0.1", 8052},
        {"0", true, "127.0.0.1", 0},
        {"0.0.0.0:8052", true, "0.0.0.0", 8052},
        {"192.168.1.20:80", true, "192.168.1.20", 80},
        {"localhost:8052", true, "127.0.0.1", 8052},
        {"[::1]:8052", true, "::1", 8052},
        {"65535", true, "127.0.0.1", 65535},
        {"65536", false, "", 0},
        {"", false, "", 0},
        {":8052", false, "", 0},
        {"8052:", false, "", 0},
        {"boat:8052", false, "", 0},
        {"1.2.3:8052", false, "", 0},
        {"1.2.3.256:8052", false, "", 0},
        {"1..2.3:8052", false, "", 0},
        {"::1:8052", false, "", 0},
        {"[]:8052", false, "", 0},
        {"-1", false, "", 0},
        {"123456", false, "", 0},
    };
    for (const Case& c : cases) {
        WebListen listen;
        listen.port = 1;
        EXPECT_EQ(ParseWebListen(c.text, listen), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(listen.address, c.address) << c.text;
            EXPECT_EQ(listen.port, c.port) << c.text;
        } else {
            EXPECT_EQ(listen.port, 1) << "a refused text leaves the value: " << c.text;
        }
    }
}

} // namespace
} // namespace velmaris
