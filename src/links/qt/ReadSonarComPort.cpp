#include "links/qt/ReadSonarComPort.h"

#include "links/SerialExchange.h"
#include "links/qt/CommPort.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSemaphore>
#include <QSerialPort>

namespace velmaris {
namespace {

// How long the user-interface thread blocks at a time while it waits for
// the worker, between sweeps for hand-overs to drop.
constexpr int kWaitSliceMs = 5;

// Errors that say the device itself is gone (a removed device reads and
// writes as ResourceError), not that one read or write failed: a busy line
// can report a passing ReadError, and the port stays good.
bool DeviceGone(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::DeviceNotFoundError:
        return true;
    default:
        return false;
    }
}

} // namespace

ReadSonarComPort::ReadSonarComPort(QObject* handOverTarget, HandOver handOver)
    : handOverTarget_(handOverTarget)
    , handOver_(std::move(handOver))
{ }

ReadSonarComPort::~ReadSonarComPort()
{
    Quit();
}

void ReadSonarComPort::Start()
{
    if (isRunning())
        return;
    quitting_.store(false);
    start();
    // run() publishes its port and context before it releases `ready_`.
    ready_.acquire();
}

void ReadSonarComPort::run()
{
    QSerialPort port;
    QObject context;
    port_ = &port;
    context_ = &context;
    QObject::connect(&port, &QSerialPort::errorOccurred, &context,
        [this](QSerialPort::SerialPortError error) { PortFailed(static_cast<int>(error)); });
    ready_.release();
    exec();
    port.close();
    context_ = nullptr;
    port_ = nullptr;
}

SerialOpenResult ReadSonarComPort::Open(const QString& device, int baud)
{
    Start();
    SerialOpenResult result = SerialOpenResult::NotAvailable;
    QSemaphore done;
    QMetaObject::invokeMethod(
        context_,
        [this, &result, &done, device, baud] {
            portGone_ = false;
            result = OpenCommPort(*port_, device, baud);
            done.release();
        },
        Qt::QueuedConnection);
    WaitDroppingHandOvers([&done] { return done.tryAcquire(1, kWaitSliceMs); });
    return result;
}

void ReadSonarComPort::PostTransfer(const std::array<std::uint8_t, kCommandSize>& command)
{
    Start();
    QMetaObject::invokeMethod(
        context_, [this, command] { Transfer(command); }, Qt::QueuedConnection);
}

void ReadSonarComPort::PostClose()
{
    if (!isRunning())
        return;
    QMetaObject::invokeMethod(
        context_,
        [this] {
            port_->close();
            portGone_ = false;
            lossUnreported_ = false;
        },
        Qt::QueuedConnection);
}

void ReadSonarComPort::PortFailed(int error)
{
    if (!DeviceGone(static_cast<QSerialPort::SerialPortError>(error)) || portGone_ || !port_->isOpen())
        return;
    portGone_ = true;
    lossUnreported_ = true;
    // Closed once the port's own call that reported the error has returned
    // (a transfer in progress closes it itself when it ends). A reopening
    // in between clears the flag and keeps its new port.
    QMetaObject::invokeMethod(
        context_,
        [this] {
            if (portGone_)
                port_->close();
        },
        Qt::QueuedConnection);
}

bool ReadSonarComPort::TakeLoss()
{
    const bool lost = lossUnreported_;
    lossUnreported_ = false;
    return lost;
}

void ReadSonarComPort::Quit()
{
    if (!isRunning())
        return;
    quitting_.store(true);
    quit();
    WaitDroppingHandOvers([this] { return wait(QDeadlineTimer(kWaitSliceMs)); });
}

void ReadSonarComPort::WaitDroppingHandOvers(const std::function<bool()>& finished)
{
    // A hand-over is a blocking queued call: deleting the posted call
    // releases the worker without running it.
    while (!finished())
        QCoreApplication::removePostedEvents(handOverTarget_, QEvent::MetaCall);
}

void ReadSonarComPort::Transfer(const std::array<std::uint8_t, kCommandSize>& command)
{
    if (suspended_.load() || quitting_.load())
        return;
    if (!port_->isOpen()) {
        HandOverToUi({}, false, {}, TakeLoss());
        return;
    }
    QSerialPortIo io(*port_, quitting_);
    const std::size_t count = ReadReply(io, reply_);
    std::size_t written = 0;
    if (!suspended_.load() && !quitting_.load())
        written = WriteCommand(io, command, rtsMode_.load());
    if (portGone_) {
        // What a dying line delivered is no reply, and the command did not
        // reach a head.
        port_->close();
        HandOverToUi({}, false, {}, TakeLoss());
        return;
    }
    // The user-interface thread learns which command went out (the copy
    // taken at the request, not its live buffer, which may have changed
    // during the read), so it clears only the one-shot requests this copy
    // carried; no state is shared for that. A short write is not a command
    // the head acts on: it counts as not sent.
    const std::span<const std::uint8_t> sent = written == command.size()
        ? std::span<const std::uint8_t>(command)
        : std::span<const std::uint8_t>();
    HandOverToUi(std::span<const std::uint8_t>(reply_.data(), count), true, sent);
}

void ReadSonarComPort::HandOverToUi(
    std::span<const std::uint8_t> reply, bool portOpen, std::span<const std::uint8_t> sent, bool portLost)
{
    if (quitting_.load())
        return;
    QMetaObject::invokeMethod(
        handOverTarget_,
        [this, reply, portOpen, sent, portLost] {
            if (!quitting_.load())
                handOver_(reply, portOpen, sent, portLost);
        },
        Qt::BlockingQueuedConnection);
}

} // namespace velmaris
