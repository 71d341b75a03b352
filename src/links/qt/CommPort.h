#pragma once
// Opening a serial port for the head (and the GPS receiver), and the port
// operations of the serial exchange on QSerialPort.
//
// Thread: the thread that owns the QSerialPort (the serial worker for the
// head, the user-interface thread for GPS).

#include "links/Links.h"
#include "links/SerialExchange.h"

#include <QSerialPort>
#include <QString>
#include <atomic>

namespace velmaris {

// Closes `port` if open, then opens `device` for reading and writing,
// exclusively, binary 8N1 at `baud` without flow control, and purges both
// directions. NotAvailable when `device` is empty or cannot be opened;
// SetupFailed (port closed again) when the line settings are rejected.
SerialOpenResult OpenCommPort(QSerialPort& port, const QString& device, int baud);

// SerialPortIo on an open QSerialPort. Blocking calls; a set `abort` flag
// ends a read early (the worker is quitting).
class QSerialPortIo final : public SerialPortIo {
public:
    QSerialPortIo(QSerialPort& port, const std::atomic<bool>& abort)
        : port_(port)
        , abort_(abort)
    { }

    std::size_t Read(std::span<std::uint8_t> buffer, int timeoutMs) override;
    std::size_t Write(std::span<const std::uint8_t> bytes, int timeoutMs) override;
    void PurgeReceive() override;
    void PurgeTransmit() override;
    void SetRts(bool raised) override;
    void ClearErrors() override;

private:
    QSerialPort& port_;
    const std::atomic<bool>& abort_;
};

} // namespace velmaris
