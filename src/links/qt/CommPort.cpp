#include "links/qt/CommPort.h"

#include "links/SerialDrain.h"

#include <QDeadlineTimer>
#include <algorithm>

namespace velmaris {
namespace {

// Longest single wait inside a read, so a quitting worker is not held up by
// a 563 ms time-out.
constexpr qint64 kReadSliceMs = 20;

bool FatalError(QSerialPort::SerialPortError error)
{
    return error != QSerialPort::NoError && error != QSerialPort::TimeoutError;
}

} // namespace

SerialOpenResult OpenCommPort(QSerialPort& port, const QString& device, int baud)
{
    if (port.isOpen())
        port.close();
    if (device.isEmpty())
        return SerialOpenResult::NotAvailable;
    port.setPortName(device);
    if (!port.open(QIODevice::ReadWrite))
        return SerialOpenResult::NotAvailable;
    const bool lineSet = baud > 0 && port.setBaudRate(baud) && port.setDataBits(QSerialPort::Data8)
        && port.setParity(QSerialPort::NoParity) && port.setStopBits(QSerialPort::OneStop)
        && port.setFlowControl(QSerialPort::NoFlowControl);
    if (!lineSet) {
        port.close();
        return SerialOpenResult::SetupFailed;
    }
    port.clear(QSerialPort::AllDirections);
    port.clearError();
    return SerialOpenResult::Ok;
}

std::size_t QSerialPortIo::Read(std::span<std::uint8_t> buffer, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs, Qt::PreciseTimer);
    std::size_t count = 0;
    while (count < buffer.size()) {
        const qint64 got = port_.read(
            reinterpret_cast<char*>(buffer.data() + count), static_cast<qint64>(buffer.size() - count));
        if (got > 0)
            count += static_cast<std::size_t>(got);
        if (count == buffer.size() || got < 0 || abort_.load())
            break;
        const qint64 remaining = deadline.remainingTime();
        if (remaining <= 0)
            break;
        if (!port_.waitForReadyRead(static_cast<int>(std::min(remaining, kReadSliceMs)))
            && FatalError(port_.error()))
            break;
    }
    port_.clearError();
    return count;
}

std::size_t QSerialPortIo::Write(std::span<const std::uint8_t> bytes, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs, Qt::PreciseTimer);
    const qint64 queued
        = port_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    if (queued <= 0)
        return 0;
    while (port_.bytesToWrite() > 0) {
        const qint64 remaining = deadline.remainingTime();
        if (remaining <= 0)
            break;
        if (!port_.waitForBytesWritten(static_cast<int>(remaining)) && FatalError(port_.error()))
            break;
    }
    const qint64 pending = port_.bytesToWrite();
    // Written here means handed to the driver; wait until the bytes are on
    // the line so the RTS timing that follows counts from the end of the
    // command, as it does where a write completes at the UART.
    if (pending == 0)
        DrainSerialLine(ToSerialHandle(port_.handle()));
    return static_cast<std::size_t>(std::max<qint64>(0, queued - pending));
}

void QSerialPortIo::PurgeReceive()
{
    port_.clear(QSerialPort::Input);
}

void QSerialPortIo::PurgeTransmit()
{
    port_.clear(QSerialPort::Output);
}

void QSerialPortIo::SetRts(bool raised)
{
    // Fails on lines without modem control (pseudo-terminals); the exchange
    // goes on as it would with an adapter that ignores RTS.
    port_.setRequestToSend(raised);
}

void QSerialPortIo::ClearErrors()
{
    port_.clearError();
}

} // namespace velmaris
