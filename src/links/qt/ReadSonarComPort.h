#pragma once
// The serial worker thread: owns the head's QSerialPort and runs each
// transfer (read the reply to the previous command, write the next command)
// with blocking calls, then hands the reply over to the user-interface
// thread and waits until it has been handled.
//
// Thread: the public members are called on the user-interface thread (the
// thread that owns `handOverTarget`); everything touching the port runs on
// the worker. Open and Quit wait for the worker; while they wait, a
// hand-over the worker posts is abandoned (the transfer goes unanswered, as
// a transfer on a suspended link does), so the two threads never wait for
// each other. Neither may be called from inside the hand-over itself.
//
// A port whose device went away (unplugged, its pseudo-terminal closed) is
// closed at once, also between transfers (a dead line would otherwise
// keep waking the worker), and the next transfer reports the loss.

#include "links/Links.h"

#include <QSemaphore>
#include <QString>
#include <QThread>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <span>

class QSerialPort;

namespace velmaris {

class ReadSonarComPort final : public QThread {
public:
    // Runs on the thread of `handOverTarget` while the worker waits; `reply`
    // and `sent` (the command written whole, or nothing) stay valid until it
    // returns. `portLost`: the port went away since the last hand-over
    // (`portOpen` is then false).
    using HandOver = std::function<void(std::span<const std::uint8_t> reply, bool portOpen,
        std::span<const std::uint8_t> sent, bool portLost)>;

    ReadSonarComPort(QObject* handOverTarget, HandOver handOver);
    ~ReadSonarComPort() override; // quits the worker if it runs

    // Starts the thread; returns once it takes requests.
    void Start();
    // Closes any open port and opens `device`; waits for the outcome.
    SerialOpenResult Open(const QString& device, int baud);
    // Queues one transfer of `command`; answered through the hand-over
    // unless the link is suspended when the worker reaches it.
    void PostTransfer(const std::array<std::uint8_t, kCommandSize>& command);
    void PostClose();
    void SetSuspended(bool suspended) { suspended_.store(suspended); }
    void SetRtsMode(bool rtsMode) { rtsMode_.store(rtsMode); }
    // Ends the thread; returns when it has finished. Any read in progress is
    // cut short and no further hand-over is delivered.
    void Quit();

protected:
    void run() override;

private:
    void Transfer(const std::array<std::uint8_t, kCommandSize>& command); // worker
    void HandOverToUi(std::span<const std::uint8_t> reply, bool portOpen, std::span<const std::uint8_t> sent,
        bool portLost = false); // worker
    void PortFailed(int error); // worker: closes a port whose device went away
    bool TakeLoss(); // worker: whether a loss waits to be reported; clears it
    // Calls `finished` (which blocks briefly) until it returns true, dropping
    // any hand-over posted meanwhile. User-interface thread.
    void WaitDroppingHandOvers(const std::function<bool()>& finished);

    QObject* handOverTarget_;
    HandOver handOver_;
    std::atomic<bool> suspended_ {false};
    std::atomic<bool> rtsMode_ {false};
    std::atomic<bool> quitting_ {false};
    QSemaphore ready_;
    QObject* context_ = nullptr; // lives on the worker while run() executes
    QSerialPort* port_ = nullptr; // worker only
    bool portGone_ = false; // worker only: the open port's device went away
    bool lossUnreported_ = false; // worker only
    // Filled by the worker; read by the hand-over while the worker waits.
    std::array<std::uint8_t, kReplyBufferSize> reply_ {};
};

} // namespace velmaris
