#include "links/qt/SerialHeadLink.h"

#include "links/qt/ReadSonarComPort.h"

#include <algorithm>

namespace velmaris {

SerialHeadLink::SerialHeadLink(ComPortMap ports, LinkEvents* events)
    : ports_(std::move(ports))
    , events_(events)
{ }

SerialHeadLink::~SerialHeadLink()
{
    Quit();
}

void SerialHeadLink::EnsureWorker()
{
    if (worker_ != nullptr)
        return;
    worker_ = std::make_unique<ReadSonarComPort>(&handOverTarget_,
        [this](std::span<const std::uint8_t> reply, bool portOpen, std::span<const std::uint8_t> sent,
            bool portLost) {
            if (portLost) {
                heldPort_ = 0;
                if (events_ != nullptr)
                    events_->OnSerialPortLost();
            }
            if (events_ != nullptr)
                events_->OnSerialTransfer(reply, portOpen, sent);
        });
    worker_->SetSuspended(suspended_);
    worker_->SetRtsMode(rtsMode_);
    worker_->Start();
}

SerialOpenResult SerialHeadLink::Open(int comPort, int baud, bool rtsMode)
{
    SetRtsMode(rtsMode);
    EnsureWorker();
    const std::string device = ports_.Device(comPort);
    const SerialOpenResult result = worker_->Open(QString::fromStdString(device), baud);
    heldPort_ = result == SerialOpenResult::Ok ? comPort : 0;
    if (result == SerialOpenResult::Ok)
        SetSuspended(false);
    return result;
}

void SerialHeadLink::RequestTransfer(std::span<const std::uint8_t, kCommandSize> command)
{
    EnsureWorker();
    std::array<std::uint8_t, kCommandSize> copy {};
    std::copy(command.begin(), command.end(), copy.begin());
    worker_->PostTransfer(copy);
}

void SerialHeadLink::SetSuspended(bool suspended)
{
    suspended_ = suspended;
    if (worker_ != nullptr)
        worker_->SetSuspended(suspended);
}

void SerialHeadLink::SetRtsMode(bool rtsMode)
{
    rtsMode_ = rtsMode;
    if (worker_ != nullptr)
        worker_->SetRtsMode(rtsMode);
}

void SerialHeadLink::Close()
{
    heldPort_ = 0;
    if (worker_ != nullptr)
        worker_->PostClose();
}

void SerialHeadLink::Quit()
{
    if (worker_ == nullptr)
        return;
    worker_->Quit();
    worker_.reset();
    heldPort_ = 0;
}

} // namespace velmaris
