#pragma once
// The socket `velmaris-tool replay` sends through: one UDP datagram per
// record to one address. Loopback is the default; any other address is
// used only when the operator names it.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include <netinet/in.h>
#include <sys/socket.h>

namespace velmaris::tool {

struct DatagramTarget {
    std::string host; // numeric, as given ("localhost" becomes 127.0.0.1)
    std::uint16_t port = 0;
    sockaddr_storage address {};
    socklen_t length = 0;
    int family = AF_INET;
    bool loopback = false;

    std::string Text() const; // "127.0.0.1:4040", "[::1]:4040"
};

// Parses "HOST:PORT", "HOST", ":PORT" (host 127.0.0.1) or "[V6]:PORT" with
// a numeric IPv4 or IPv6 host or "localhost"; `defaultPort` when no port is
// given. False with a message for anything else, port 0 included.
bool ParseDatagramTarget(
    std::string_view text, std::uint16_t defaultPort, DatagramTarget& out, std::string* error);

class DatagramSender {
public:
    enum class Result {
        Sent,
        NoListener, // the target port is closed (loopback reports it); the replay goes on
        TooLong, // larger than a datagram can be
        Failed, // any other error: the message says which
    };

    DatagramSender() = default;
    ~DatagramSender();
    DatagramSender(const DatagramSender&) = delete;
    DatagramSender& operator=(const DatagramSender&) = delete;

    bool Open(const DatagramTarget& target, std::string* error);
    Result Send(std::span<const std::uint8_t> datagram, std::string* error);

private:
    int fd_ = -1;
};

} // namespace velmaris::tool
