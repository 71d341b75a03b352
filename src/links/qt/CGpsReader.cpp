#include "links/qt/CGpsReader.h"

#include "links/qt/CommPort.h"

#include <QByteArray>
#include <QHostAddress>

#include <algorithm>

namespace velmaris {
namespace {

// What the port may buffer between two ticks: ten times what 115200 baud
// delivers in 200 ms. Beyond it the driver holds the bytes.
constexpr qint64 kPortBufferBytes = 24 * 1024;
constexpr int kReconnectMs = 2000;
// NMEA datagrams hold a few sentences; a larger one is no NMEA sender's.
constexpr qint64 kLargestDatagram = 64 * 1024;

} // namespace

CGpsReader::CGpsReader(QObject* parent)
    : QObject(parent)
{
    tick_.setInterval(kGpsTickMs);
    connect(&tick_, &QTimer::timeout, this, &CGpsReader::Tick);
    reconnect_.setSingleShot(true);
    connect(&reconnect_, &QTimer::timeout, this, &CGpsReader::ConnectTcp);
    connect(&udp_, &QUdpSocket::readyRead, this, &CGpsReader::ReadDatagrams);
    connect(&tcp_, &QTcpSocket::readyRead, this, [this] {
        const QByteArray bytes = tcp_.readAll();
        FeedBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    });
    connect(&tcp_, &QTcpSocket::disconnected, this, [this] {
        if (network_)
            reconnect_.start(kReconnectMs);
    });
    connect(&tcp_, &QTcpSocket::errorOccurred, this, [this] {
        if (network_ && tcp_.state() == QAbstractSocket::UnconnectedState)
            reconnect_.start(kReconnectMs);
    });
}

CGpsReader::~CGpsReader()
{
    Close();
}

SerialOpenResult CGpsReader::Open(const QString& device, int baud, int comPort)
{
    Close();
    const SerialOpenResult result = OpenCommPort(port_, device, baud);
    if (result != SerialOpenResult::Ok)
        return result;
    port_.setReadBufferSize(kPortBufferBytes);
    comPort_ = comPort;
    decoder_ = NmeaDecoder(decoder_.Selection());
    tick_.start();
    return result;
}

bool CGpsReader::OpenNetwork(const GpsNetworkAddress& address, std::string& error)
{
    Close();
    decoder_ = NmeaDecoder(decoder_.Selection());
    if (address.network == GpsNetwork::Udp) {
        const QHostAddress host(QString::fromStdString(address.host));
        if (host.isNull()
            || !udp_.bind(host, static_cast<quint16>(address.port), QAbstractSocket::ShareAddress)) {
            error = host.isNull() ? "not an address" : udp_.errorString().toStdString();
            udp_.close();
            return false;
        }
        network_ = address;
        return true;
    }
    network_ = address;
    ConnectTcp();
    return true;
}

void CGpsReader::ConnectTcp()
{
    if (!network_ || network_->network != GpsNetwork::Tcp)
        return;
    tcp_.abort();
    tcp_.connectToHost(QString::fromStdString(network_->host), static_cast<quint16>(network_->port));
}

void CGpsReader::Close()
{
    tick_.stop();
    reconnect_.stop();
    network_.reset();
    if (port_.isOpen())
        port_.close();
    udp_.close();
    tcp_.abort();
    comPort_ = 0;
}

void CGpsReader::ReadDatagrams()
{
    QByteArray datagram;
    while (udp_.hasPendingDatagrams()) {
        const qint64 size = udp_.pendingDatagramSize();
        datagram.resize(static_cast<qsizetype>(std::clamp<qint64>(size, 1, kLargestDatagram)));
        const qint64 got = udp_.readDatagram(datagram.data(), datagram.size());
        if (got <= 0 || size > kLargestDatagram)
            continue;
        datagram.resize(static_cast<qsizetype>(got));
        // A datagram is whole: its last sentence ends with it even when the
        // sender left out the line end.
        if (!datagram.endsWith('\n'))
            datagram.append("\r\n");
        FeedBytes(std::string_view(datagram.constData(), static_cast<std::size_t>(datagram.size())));
    }
}

void CGpsReader::FeedBytes(std::string_view bytes)
{
    const int taken = decoder_.Feed(bytes, [this](const std::string& sentence) {
        if (onSentence_)
            onSentence_(sentence);
    });
    if (taken > 0 && onTexts_)
        onTexts_();
}

void CGpsReader::Tick()
{
    if (!port_.isOpen())
        return;
    const qint64 queued = port_.bytesAvailable();
    if (queued <= 0)
        return;
    const QByteArray bytes = port_.read(queued);
    FeedBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

std::vector<std::string> CGpsReader::RecentSentences() const
{
    const auto& recent = decoder_.RecentSentences();
    return {recent.begin(), recent.end()};
}

} // namespace velmaris
