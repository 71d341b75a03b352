#include "web/WebRequest.h"

#include <algorithm>
#include <cctype>

namespace velmaris {

namespace {

bool IEquals(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

bool IContains(std::string_view text, std::string_view word)
{
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i)
        if (IEquals(text.substr(i, word.size()), word))
            return true;
    return false;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool TokenChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c))
        || std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

// The value of token=... in a query ("" when absent).
std::string QueryToken(std::string_view query)
{
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        if (pair.substr(0, 6) == "token=")
            return std::string(pair.substr(6));
        if (amp == std::string_view::npos)
            break;
        query.remove_prefix(amp + 1);
    }
    return {};
}

bool ParseRequestLine(std::string_view line, RequestHead& out)
{
    const std::size_t s1 = line.find(' ');
    if (s1 == std::string_view::npos || s1 == 0 || s1 > 16)
        return false;
    const std::size_t s2 = line.find(' ', s1 + 1);
    if (s2 == std::string_view::npos || s2 == s1 + 1)
        return false;
    const std::string_view method = line.substr(0, s1);
    const std::string_view target = line.substr(s1 + 1, s2 - s1 - 1);
    const std::string_view version = line.substr(s2 + 1);
    if (!std::all_of(method.begin(), method.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        return false;
    if (version != "HTTP/1.1" && version != "HTTP/1.0")
        return false;
    if (target.front() != '/'
        || !std::all_of(target.begin(), target.end(), [](char c) { return c > 0x20 && c < 0x7f; }))
        return false;
    const std::size_t q = target.find('?');
    out.method = std::string(method);
    out.path = std::string(target.substr(0, q));
    out.token = q == std::string_view::npos ? std::string() : QueryToken(target.substr(q + 1));
    return true;
}

} // namespace

HeadScan ScanRequestHead(std::string_view bytes, std::size_t* headLength)
{
    const std::string_view window = bytes.substr(0, std::min(bytes.size(), kMaxRequestHead));
    const std::size_t crlf = window.find("\r\n\r\n");
    const std::size_t lf = window.find("\n\n");
    const std::size_t end = std::min(
        crlf == std::string_view::npos ? crlf : crlf + 4, lf == std::string_view::npos ? lf : lf + 2);
    if (end != std::string_view::npos) {
        *headLength = end;
        return HeadScan::Complete;
    }
    return bytes.size() >= kMaxRequestHead ? HeadScan::TooLarge : HeadScan::NeedMore;
}

bool ParseRequestHead(std::string_view head, RequestHead& out)
{
    out = RequestHead {};
    if (head.size() > kMaxRequestHead)
        return false;
    int lineNumber = 0;
    while (!head.empty()) {
        const std::size_t nl = head.find('\n');
        if (nl == std::string_view::npos)
            return false; // a complete head ends with a line end
        std::string_view line = head.substr(0, nl);
        head.remove_prefix(nl + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() > kMaxRequestLine)
            return false;
        if (lineNumber == 0) {
            if (!ParseRequestLine(line, out))
                return false;
        } else if (line.empty()) {
            return head.empty(); // the blank line ends the head
        } else {
            if (lineNumber > kMaxRequestHeaders)
                return false;
            const std::size_t colon = line.find(':');
            if (colon == std::string_view::npos || colon == 0)
                return false;
            const std::string_view name = line.substr(0, colon);
            if (!std::all_of(name.begin(), name.end(), TokenChar))
                return false;
            if (IEquals(name, "Upgrade") && IContains(Trim(line.substr(colon + 1)), "websocket"))
                out.webSocketUpgrade = true;
        }
        ++lineNumber;
    }
    return false; // no blank line
}

bool TokenMatches(std::string_view given, std::string_view expected)
{
    if (expected.empty())
        return false;
    // Every byte of the expected token is looked at whatever the given one holds.
    unsigned difference = given.size() == expected.size() ? 0u : 1u;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const unsigned char g = i < given.size() ? static_cast<unsigned char>(given[i]) : 0u;
        difference |= g ^ static_cast<unsigned char>(expected[i]);
    }
    return difference == 0;
}

WebRoute RouteRequest(const RequestHead& head, bool parsed, std::string_view token)
{
    if (!parsed)
        return WebRoute::BadRequest;
    if (!TokenMatches(head.token, token))
        return WebRoute::Forbidden;
    if (head.path != "/" && head.path != "/ws")
        return WebRoute::NotFound;
    if (head.method == "HEAD" && head.path == "/")
        return WebRoute::PageHead;
    if (head.method != "GET")
        return WebRoute::BadMethod;
    if (head.path == "/ws")
        return head.webSocketUpgrade ? WebRoute::Socket : WebRoute::BadRequest;
    return WebRoute::Page;
}

std::string ShortResponse(int status)
{
    const char* reason = "Bad Request";
    switch (status) {
    case 403:
        reason = "Forbidden";
        break;
    case 404:
        reason = "Not Found";
        break;
    case 405:
        reason = "Method Not Allowed";
        break;
    case 408:
        reason = "Request Timeout";
        break;
    case 431:
        reason = "Request Header Fields Too Large";
        break;
    case 503:
        reason = "Service Unavailable";
        break;
    default:
        status = 400;
        break;
    }
    std::string text = "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
    if (status == 405)
        text += "Allow: GET, HEAD\r\n";
    return text + "Content-Length: 0\r\nConnection: close\r\n\r\n";
}

std::string PageResponseHead(std::size_t contentLength)
{
    return "HTTP/1.1 200 OK\r\n"
           "Content-Type: text/html; charset=utf-8\r\n"
           "Content-Length: "
        + std::to_string(contentLength)
        + "\r\n"
          "Cache-Control: no-store\r\n"
          "Referrer-Policy: no-referrer\r\n"
          "X-Content-Type-Options: nosniff\r\n"
          "Content-Security-Policy: default-src 'none'; script-src 'unsafe-inline'; "
          "style-src 'unsafe-inline'; connect-src 'self'; img-src data:\r\n"
          "Connection: close\r\n\r\n";
}

bool ParseWebListen(std::string_view text, WebListen& out)
{
    std::string_view address;
    std::string_view port = text;
    const std::size_t colon = text.rfind(':');
    if (colon != std::string_view::npos) {
        address = text.substr(0, colon);
        port = text.substr(colon + 1);
        if (address.empty())
            return false;
    }
    if (port.empty() || port.size() > 5
        || !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const int number = std::stoi(std::string(port));
    if (number > 65535)
        return false;
    WebListen listen;
    listen.port = static_cast<std::uint16_t>(number);
    if (address.empty() || address == "localhost") {
        listen.address = "127.0.0.1";
    } else if (address.front() == '[') {
        if (address.size() < 4 || address.back() != ']')
            return false;
        const std::string_view inner = address.substr(1, address.size() - 2);
        if (!std::all_of(inner.begin(), inner.end(),
                [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.'; }))
            return false;
        listen.address = std::string(inner);
    } else {
        // Four decimal parts of at most 255, nothing else.
        int parts = 0;
        int value = -1;
        for (const char c : address) {
            if (c == '.') {
                if (value < 0)
                    return false;
                ++parts;
                value = -1;
            } else if (c >= '0' && c <= '9') {
                value = (value < 0 ? 0 : value * 10) + (c - '0');
                if (value > 255)
                    return false;
            } else {
                return false;
            }
        }
        if (value < 0 || parts != 3)
            return false;
        listen.address = std::string(address);
    }
    out = listen;
    return true;
}

} // namespace velmaris
