#include "shell/qt/DemoWorld.h"

#include "sim/GpsSender.h"
#include "sim/TcpHeadServer.h"

#include <cstdio>

namespace velmaris {

DemoWorld::DemoWorld() = default;

DemoWorld::~DemoWorld()
{
    Stop();
}

bool DemoWorld::Start(std::string* error)
{
    // The head and the GPS share the boat by the wall clock.
    const sim::BoatOptions boat;
    sim::TcpHeadOptions head;
    head.address = "127.0.0.1:0";
    head.head.boat = boat;
    head_ = std::make_unique<sim::TcpHeadServer>(head);
    if (!head_->Start(error))
        return false;

    sim::GpsSenderOptions gps;
    gps.boat = boat;
    gps.pty = true;
    gps_ = std::make_unique<sim::GpsSender>(gps);
    std::string why;
    if (!gps_->Start(&why)) {
        std::fprintf(stderr, "velmaris: the demo runs without a GPS: %s\n", why.c_str());
        gps_.reset();
    }
    return true;
}

void DemoWorld::Stop()
{
    if (gps_)
        gps_->Stop();
    if (head_)
        head_->Stop();
}

std::uint16_t DemoWorld::HeadPort() const
{
    return head_ ? head_->Port() : 0;
}

std::string DemoWorld::GpsSource() const
{
    return gps_ ? gps_->DevicePath() : std::string();
}

} // namespace velmaris
