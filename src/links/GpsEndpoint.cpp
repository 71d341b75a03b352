#include "links/GpsEndpoint.h"

namespace velmaris {
namespace {

constexpr const char* kUdp = "udp://";
constexpr const char* kTcp = "tcp://";

std::optional<int> Port(const std::string& text)
{
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    int port = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

bool HostCharacter(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '-'
        || c == '_' || c == ':' || c == '%';
}

} // namespace

bool IsGpsNetworkText(const std::string& text)
{
    return text.starts_with(kUdp) || text.starts_with(kTcp);
}

std::optional<GpsNetworkAddress> ParseGpsNetworkAddress(const std::string& text, std::string& error)
{
    GpsNetworkAddress address;
    address.network = text.starts_with(kTcp) ? GpsNetwork::Tcp : GpsNetwork::Udp;
    const bool udp = address.network == GpsNetwork::Udp;
    const char* usage = udp ? "--gps udp://[ADDR]:PORT" : "--gps tcp://HOST:PORT";
    if (!IsGpsNetworkText(text)) {
        error = "--gps: not udp:// or tcp://";
        return std::nullopt;
    }
    const std::string rest = text.substr(6);
    if (udp && rest.empty()) {
        address.host = kGpsDefaultUdpAddress;
        return address;
    }
    std::string host;
    std::string port;
    if (rest.starts_with('[')) { // [IPv6]:PORT
        const std::size_t close = rest.find(']');
        if (close == std::string::npos || close + 1 >= rest.size() || rest[close + 1] != ':') {
            error = usage;
            return std::nullopt;
        }
        host = rest.substr(1, close - 1);
        port = rest.substr(close + 2);
    } else {
        const std::size_t colon = rest.rfind(':');
        if (colon == std::string::npos || rest.find(':') != colon) {
            error = std::string(usage) + " (an IPv6 address goes in brackets)";
            return std::nullopt;
        }
        host = rest.substr(0, colon);
        port = rest.substr(colon + 1);
    }
    for (const char c : host)
        if (!HostCharacter(c)) {
            error = std::string(usage) + ": the address holds a character no address has";
            return std::nullopt;
        }
    if (host.size() > 253 || (host.empty() && !udp)) {
        error = std::string(usage) + ": the host is missing";
        return std::nullopt;
    }
    const std::optional<int> number = Port(port);
    if (!number) {
        error = std::string(usage) + ": the port must be 1 to 65535";
        return std::nullopt;
    }
    address.host = host.empty() ? kGpsDefaultUdpAddress : host;
    address.port = *number;
    return address;
}

std::string GpsNetworkText(const GpsNetworkAddress& address)
{
    const bool v6 = address.host.find(':') != std::string::npos;
    return std::string(address.network == GpsNetwork::Udp ? kUdp : kTcp) + (v6 ? "[" : "") + address.host
        + (v6 ? "]" : "") + ":" + std::to_string(address.port);
}

} // namespace velmaris
