#pragma once
// The GPS input on a second serial port: the port opened with the same
// routine as the head's (8N1 at the chosen rate, no flow control), a
// periodic 200 ms timer that reads only what is already queued and feeds it
// to the NMEA decoder, and the texts for whoever shows them. Or the same
// sentences from the network: datagrams on a UDP port, or a TCP stream
// (connected again two seconds after the server closed it), each read as it
// arrives.
//
// The timer is the reader's own, not one of the ping cycle's: restarting
// real-time work or a playback kills the cycle's timers, while GPS input
// runs until it is closed.
//
// Thread: user-interface thread only (the port and the timer live there).
// Failure: Open returns the outcome; the caller reports it.

#include "links/GpsEndpoint.h"
#include "links/GpsInput.h"
#include "links/Links.h"

#include <QObject>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <functional>
#include <optional>
#include <string>

namespace velmaris {

class CGpsReader final : public QObject, public GpsSource {
    Q_OBJECT
public:
    explicit CGpsReader(QObject* parent = nullptr);
    ~CGpsReader() override;

    // Closes any open port, opens `device` at `baud`, resets the texts to
    // "n/a" and starts the 200 ms tick. `comPort` is the COM number the
    // device stands for (0 when it has none), for the port dialog.
    SerialOpenResult Open(const QString& device, int baud, int comPort = 0);
    // Closes any open source and listens on (UDP) or connects to (TCP)
    // `address`. False with the cause in `error` when a UDP port cannot be
    // bound; a TCP server that does not answer is tried again every two
    // seconds while the input stays open.
    bool OpenNetwork(const GpsNetworkAddress& address, std::string& error);
    void Close();
    bool IsOpen() const { return port_.isOpen() || network_; }
    // The UDP port listened on (the one bound when port 0 was asked), 0 otherwise.
    int BoundUdpPort() const { return udp_.state() == QAbstractSocket::BoundState ? udp_.localPort() : 0; }
    int HeldComPort() const { return IsOpen() ? comPort_ : 0; }
    QString Device() const { return port_.portName(); }

    // One tick: reads the bytes waiting and decodes them. Does nothing while
    // no port is open.
    void Tick();
    // Called after a tick that decoded at least one sentence.
    void SetOnTexts(std::function<void()> onTexts) { onTexts_ = std::move(onTexts); }
    // Called with every sentence as received (up to its line feed), before
    // onTexts; the track writer listens here.
    void SetOnSentence(std::function<void(const std::string&)> onSentence)
    {
        onSentence_ = std::move(onSentence);
    }

    const NmeaDecoder& Decoder() const { return decoder_; }

    // GpsSource.
    bool Running() const override { return IsOpen(); }
    GpsTexts Texts() const override { return decoder_.Texts(); }
    std::vector<std::string> RecentSentences() const override;

private:
    void FeedBytes(std::string_view bytes);
    void ReadDatagrams();
    void ConnectTcp();

    QSerialPort port_;
    QUdpSocket udp_;
    QTcpSocket tcp_;
    QTimer tick_;
    QTimer reconnect_;
    std::optional<GpsNetworkAddress> network_;
    NmeaDecoder decoder_;
    int comPort_ = 0;
    std::function<void()> onTexts_;
    std::function<void(const std::string&)> onSentence_;
};

} // namespace velmaris
