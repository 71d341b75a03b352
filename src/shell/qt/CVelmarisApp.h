#pragma once
// The application object: builds the station in its start-up order (main
// frame and bars, document, view, document initialisation, then UDP mode or
// the connection to the head, and recording when a file was named), runs it,
// and shuts it down in order (settings saved, timers stopped, worker ended,
// files and sockets closed) on Exit, the close box, SIGTERM or SIGINT.
//
// One instance, owned by main(), on the user-interface thread.

#include "links/qt/CSSocket.h"
#include "links/qt/CUdpSocket.h"
#include "links/qt/QtTimerHost.h"
#include "links/qt/SerialHeadLink.h"
#include "shell/StationCommandLine.h"
#include "shell/qt/QtReporter.h"
#include "shell/qt/StationHooks.h"
#include "shell/qt/StationUi.h"
#include "station/CVelmarisDoc.h"
#include "station/DocumentCommands.h"

#include <QObject>
#include <memory>
#include <string>

namespace velmaris {

class CMainFrame;
class DemoWorld;
class FloatingWindows;
class QtFileWindows;
class ScreenCapture;
class CVelmarisView;
class ShutdownRequest;
class SignalBridge;
class StationGps;
class StationWeb;

class CVelmarisApp final : public QObject {
    Q_OBJECT
public:
    CVelmarisApp(StationCommandLine commandLine, std::string programPath);
    ~CVelmarisApp() override;

    // Runs the start-up sequence. False when the station cannot start (the
    // reason has been printed); the program then exits.
    bool Start();

    CMainFrame* Frame() const { return frame_.get(); }
    CVelmarisDoc* Document() const { return doc_.get(); }
    StationWeb* Web() const { return web_.get(); }

private:
    bool StartDemoHead(DocumentSetup& setup);
    void CreateDocument(const std::string& iniPath);
    void BuildWindows();
    void PlugRecordingAndPlayback();
    void PlugViewInteraction();
    void ConnectAtStart();
    // SIGTERM, SIGINT and the end of a timed run end any dialog first and
    // shut down from the outermost event loop (ShutdownRequest).
    void PlugTermination();
    void EndFromOutermostLoop();
    void Shutdown();
    void ScheduleTimedQuit();
    void QuitAfterPicture(int waitedMs);
    void SavePicture();

    StationCommandLine commandLine_;
    std::string programPath_;
    std::unique_ptr<DemoWorld> demo_;
    QtReporter reporter_;
    StationUi ui_;
    QtTimerHost timers_;
    SerialHeadLink serial_;
    ComPortMap ports_;
    CSSocket tcp_;
    CUdpSocket udp_;
    std::unique_ptr<CVelmarisDoc> doc_;
    StationHooks hooks_;
    std::unique_ptr<DocumentCommands> commands_;
    std::unique_ptr<CMainFrame> frame_;
    CVelmarisView* view_ = nullptr; // owned by the frame
    std::unique_ptr<FloatingWindows> floating_;
    std::unique_ptr<QtFileWindows> fileWindows_;
    std::unique_ptr<ScreenCapture> capture_;
    std::unique_ptr<StationGps> gps_;
    std::unique_ptr<StationWeb> web_;
    SignalBridge* signals_ = nullptr; // owned by this object
    ShutdownRequest* shutdown_ = nullptr; // owned by this object
    bool closed_ = false;
};

} // namespace velmaris
