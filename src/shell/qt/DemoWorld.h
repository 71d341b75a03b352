#pragma once
// The demo's simulated world: the K52L head on a free loopback port, riding
// the simulated boat, and the boat's GPS, which the station reads as its
// GPS input. This is the one place that says how the GPS reaches the
// station: a pseudo-terminal named like a serial device today (POSIX only;
// on Windows the demo has no GPS).
//
// Owned by the application object on the user-interface thread; the head
// and the GPS run on their own threads until Stop() or destruction.

#include <cstdint>
#include <memory>
#include <string>

namespace velmaris {

namespace sim {
class GpsSender;
class TcpHeadServer;
} // namespace sim

class DemoWorld {
public:
    DemoWorld();
    ~DemoWorld();

    // Starts the head (false, with a message, when it cannot) and then the
    // GPS (a GPS that cannot start only leaves the demo without one).
    bool Start(std::string* error);
    void Stop();

    std::uint16_t HeadPort() const;
    // What the station's GPS input opens, as --gps would name it; "" when
    // the demo has no GPS.
    std::string GpsSource() const;
    int GpsBaud() const { return 4800; }

private:
    std::unique_ptr<sim::TcpHeadServer> head_;
    std::unique_ptr<sim::GpsSender> gps_;
};

} // namespace velmaris
