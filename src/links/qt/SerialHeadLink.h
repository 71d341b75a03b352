#pragma once
// The K52A head's serial link: maps the COM port number to a device, keeps
// the worker thread `ReadSonarComPort` and delivers each finished transfer
// as LinkEvents::OnSerialTransfer on the user-interface thread; a port whose
// device went away is closed by the worker and reported first as
// LinkEvents::OnSerialPortLost.
//
// Thread: construct and call on the user-interface thread, which must run
// its event loop for transfers to be answered. Open, Close and Quit must not
// be called from inside OnSerialTransfer.

#include "links/ComPortMap.h"
#include "links/Links.h"

#include <QObject>
#include <memory>

namespace velmaris {

class ReadSonarComPort;

class SerialHeadLink final : public SerialLink {
public:
    // `events` may be set later; transfers finished while it is null are
    // dropped.
    explicit SerialHeadLink(ComPortMap ports = ComPortMap(), LinkEvents* events = nullptr);
    ~SerialHeadLink() override; // quits the worker

    void SetEvents(LinkEvents* events) { events_ = events; }
    void SetComPortMap(ComPortMap ports) { ports_ = std::move(ports); }

    // Starts the worker if needed, closes any open port and opens the device
    // of `comPort`. On success the link is no longer suspended. Waits for the
    // worker; a transfer that finishes meanwhile goes unanswered.
    SerialOpenResult Open(int comPort, int baud, bool rtsMode) override;
    void RequestTransfer(std::span<const std::uint8_t, kCommandSize> command) override;
    void SetSuspended(bool suspended) override;
    void SetRtsMode(bool rtsMode) override;
    void Close() override;
    // Ends the worker; a later Open or RequestTransfer starts a new one.
    void Quit() override;
    // The COM number whose port the link holds open, 0 for none.
    int HeldComPort() const { return heldPort_; }

private:
    void EnsureWorker();

    ComPortMap ports_;
    LinkEvents* events_;
    bool suspended_ = false;
    bool rtsMode_ = false;
    int heldPort_ = 0;
    QObject handOverTarget_; // receives the worker's hand-overs on this thread
    std::unique_ptr<ReadSonarComPort> worker_;
};

} // namespace velmaris
