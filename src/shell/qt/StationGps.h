#pragma once
// The station's GPS input and its two connection dialogs behind the command
// hooks. GPS input runs while `UseGPS` is 1 after the port dialog (which
// never returns 1) or, for one run, from --gps; its six texts show in a
// "GPS" pane of the status bar, and the reader stays available as a
// GpsSource for any window that lists the texts and recent sentences. Every
// sentence received goes to the document's track (written while recording).
//
// Ownership: owns the GPS reader; the document, frame, serial link and
// reporter must outlive it. User-interface thread only.

#include "links/ComPortMap.h"
#include "links/qt/CGpsReader.h"

#include <string>

namespace velmaris {

class CMainFrame;
class CVelmarisDoc;
class Reporter;
class SerialHeadLink;
class StationHooks;

class StationGps {
public:
    StationGps(
        CVelmarisDoc& doc, CMainFrame& frame, SerialHeadLink& serial, Reporter& reporter, ComPortMap ports);

    // Fills the IP address, COM port and restart-GPS hooks.
    void Plug(StationHooks& hooks);
    // --gps: starts GPS input on `device` ("COMn" goes through the mapping;
    // "udp://ADDR:PORT" and "tcp://HOST:PORT" are network sources) and keeps
    // it for the run. False when it could not be opened.
    bool StartFromCommandLine(const std::string& device, int baud);
    // After a confirmed port dialog: the GPS port is closed, then opened
    // again from the settings when `UseGPS` is 1, or from the command line
    // when one was given.
    void Restart();
    void Close() { reader_.Close(); }

    const GpsSource& Source() const { return reader_; }
    CGpsReader& Reader() { return reader_; }

private:
    bool OpenDevice(const std::string& device, int baud, int comPort);
    int ComPortOf(const std::string& device) const;
    void ShowTexts();

    CVelmarisDoc& doc_;
    CMainFrame& frame_;
    SerialHeadLink& serial_;
    Reporter& reporter_;
    ComPortMap ports_;
    CGpsReader reader_;
    std::string commandLineDevice_;
    int commandLineBaud_ = 4800;
};

} // namespace velmaris
