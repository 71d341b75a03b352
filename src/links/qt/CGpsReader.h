#pragma once
// The GPS input on a second serial port: the port opened with the same
// routine as the head's (8N1 at the chosen rate, no flow control), a
// periodic 200 ms timer that reads only what is already queued and feeds it
// to the NMEA decoder, and the texts for whoever shows them.
//
// The timer is the reader's own, not one of the ping cycle's: restarting
// real-time work or a playback kills the cycle's timers, while GPS input
// runs until it is closed.
//
// Thread: user-interface thread only (the port and the timer live there).
// Failure: Open returns the outcome; the caller reports it.

#include "links/GpsInput.h"
#include "links/Links.h"

#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <functional>

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
    void Close();
    bool IsOpen() const { return port_.isOpen(); }
    int HeldComPort() const { return IsOpen() ? comPort_ : 0; }
    QString Device() const { return port_.portName(); }

    // One tick: reads the bytes waiting and decodes them. Does nothing while
    // no port is open.
    void Tick();
    // Called after a tick that decoded at least one sentence.
    void SetOnTexts(std::function<void()> onTexts) { onTexts_ = std::move(onTexts); }

    const NmeaDecoder& Decoder() const { return decoder_; }

    // GpsSource.
    bool Running() const override { return IsOpen(); }
    GpsTexts Texts() const override { return decoder_.Texts(); }
    std::vector<std::string> RecentSentences() const override;

private:
    QSerialPort port_;
    QTimer tick_;
    NmeaDecoder decoder_;
    int comPort_ = 0;
    std::function<void()> onTexts_;
};

} // namespace velmaris
