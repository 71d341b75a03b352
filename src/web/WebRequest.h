#pragma once
// The web view's HTTP rules: where a request's head ends, what it asks for,
// whether it carries the access token, and the short answers the server
// gives. Every size is bounded before anything is parsed, so a client that
// sends endless lines or headers is cut off at a few kilobytes.
//
// Plain functions, any thread; nothing here touches a socket.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmaris {

inline constexpr std::size_t kMaxRequestHead = 8192; // request line and headers together
inline constexpr std::size_t kMaxRequestLine = 2048;
inline constexpr int kMaxRequestHeaders = 64;
inline constexpr int kRequestTimeoutMs = 5000; // a client that has not sent its head by then is closed

enum class HeadScan {
    NeedMore, // no blank line yet and still under kMaxRequestHead
    Complete, // the head ends at *headLength (the blank line included)
    TooLarge, // more than kMaxRequestHead bytes without a blank line
};

// Looks for the blank line that ends the head in the bytes received so far.
HeadScan ScanRequestHead(std::string_view bytes, std::size_t* headLength);

struct RequestHead {
    std::string method; // "GET"
    std::string path; // "/ws", without the query
    std::string token; // the query's token=... value ("" when none)
    bool webSocketUpgrade = false; // "Upgrade: websocket" among the headers
};

// Parses a complete head (as ScanRequestHead found it). False for anything
// that is not a well-formed HTTP/1.x request head within the bounds.
bool ParseRequestHead(std::string_view head, RequestHead& out);

// Compares in time independent of where the texts first differ; an empty
// expected token matches nothing.
bool TokenMatches(std::string_view given, std::string_view expected);

enum class WebRoute {
    Page, // 200 with the page
    PageHead, // HEAD of the page: its headers only
    Socket, // the picture stream (WebSocket upgrade)
    Forbidden, // 403: no token or a wrong one, whatever was asked
    NotFound, // 404
    BadMethod, // 405: the view is read-only, GET and HEAD only
    BadRequest, // 400
};

// The route of a parsed request (parsed false: BadRequest). The token is
// checked before anything else, so a request without it learns nothing.
WebRoute RouteRequest(const RequestHead& head, bool parsed, std::string_view token);

// A complete answer without a body: status line, Content-Length 0,
// Connection: close. 403 carries nothing else.
std::string ShortResponse(int status);

// The head of the page's 200 answer (HTML, no caching, no referrer, a
// content policy that allows nothing from elsewhere).
std::string PageResponseHead(std::size_t contentLength);

// "[ADDR:]PORT" of --web and the settings: ADDR an IPv4 address, "localhost"
// or a bracketed IPv6 address; loopback (127.0.0.1) when only a port is
// given. Port 0 asks for any free port.
struct WebListen {
    std::string address = "127.0.0.1";
    std::uint16_t port = 0;
};
bool ParseWebListen(std::string_view text, WebListen& out);

} // namespace velmaris
