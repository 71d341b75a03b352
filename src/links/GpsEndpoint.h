#pragma once
// Where NMEA sentences come from besides a serial port: a UDP port that boats'
// multiplexers and chart plotters send to, or a TCP server that streams them.
// "udp://[ADDR]:PORT" listens on ADDR (loopback when left out, so nothing
// beyond this computer is heard unless the operator names an address);
// "tcp://HOST:PORT" connects to HOST. Plain functions, any thread.

#include <optional>
#include <string>

namespace velmaris {

// The customary port of NMEA 0183 over UDP.
inline constexpr int kNmeaUdpPort = 10110;
inline constexpr const char* kGpsDefaultUdpAddress = "127.0.0.1";

enum class GpsNetwork {
    Udp,
    Tcp,
};

struct GpsNetworkAddress {
    GpsNetwork network = GpsNetwork::Udp;
    std::string host; // an address or name; IPv6 without its brackets
    int port = kNmeaUdpPort;

    bool operator==(const GpsNetworkAddress&) const = default;
};

// True when `text` names a network source ("udp://" or "tcp://").
bool IsGpsNetworkText(const std::string& text);

// "udp://[ADDR]:PORT" or "tcp://HOST:PORT"; nullopt with the reason in
// `error` when it is not one. "udp://" alone is loopback port 10110.
std::optional<GpsNetworkAddress> ParseGpsNetworkAddress(const std::string& text, std::string& error);

// The address as the operator would write it ("udp://127.0.0.1:10110").
std::string GpsNetworkText(const GpsNetworkAddress& address);

} // namespace velmaris
