#include "shell/qt/CVelmarisApp.h"

#include "files/SettingsLocation.h"
#include "image/qt/CVelmarisView.h"
#include "shell/DemoSettings.h"
#include "shell/qt/AccessPoints.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/DemoWorld.h"
#include "shell/qt/FloatingWindows.h"
#include "shell/qt/QtFileWindows.h"
#include "shell/qt/ScreenCapture.h"
#include "shell/qt/ShutdownRequest.h"
#include "shell/qt/SignalBridge.h"
#include "shell/qt/StandardDialogs.h"
#include "shell/qt/StationGps.h"
#include "shell/qt/StationWeb.h"
#include "station/CommandIds.h"
#include "station/GisModule.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace velmaris {

namespace {
// VELMARIS_HEAD_PORT and VELMARIS_UDP_PORT move the head's TCP port and the
// UDP listening port away from 4040, so tests running side by side never
// collide. Anything but a port number leaves the default.
int PortFromEnvironment(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    if (text == nullptr)
        return fallback;
    char* end = nullptr;
    const long port = std::strtol(text, &end, 10);
    return (end != text && *end == '\0' && port > 0 && port < 65536) ? static_cast<int>(port) : fallback;
}
} // namespace

CVelmarisApp::CVelmarisApp(StationCommandLine commandLine, std::string programPath)
    : commandLine_(std::move(commandLine))
    , programPath_(std::move(programPath))
{ }

CVelmarisApp::~CVelmarisApp()
{
    Shutdown();
    if (commands_)
        commands_->SetStateObserver(nullptr); // the frame goes first
}

// How long the start waits for the head's connect before the window shows.
constexpr int kSettleConnectMs = 10;

bool CVelmarisApp::Start()
{
    // First, so a signal during start-up waits for the event loop instead of
    // killing the station half built.
    PlugTermination();
    DocumentSetup setup;
    setup.iniPath = SettingsPathForProgram(programPath_, commandLine_.iniPath);
    setup.dataFolder = DefaultDataFolderForProgram(programPath_);
    setup.headTcpPort = PortFromEnvironment("VELMARIS_HEAD_PORT", kHeadTcpPort);
    setup.udpPort = PortFromEnvironment("VELMARIS_UDP_PORT", kUdpListenPort);
    if (commandLine_.demo && !StartDemoHead(setup))
        return false;
    CreateDocument(setup.iniPath);
    BuildWindows();

    frame_->ApplyModeBars(OperatingMode::RealTime);
    // A window manager maximises the frame; without one (or once restored)
    // it keeps the size of the screen's free area rather than its minimum.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        frame_->resize(screen->availableGeometry().size());
    frame_->showMaximized();
    doc_->Initialise(setup);
    ConnectAtStart();
    // The first command goes out before the window's first paint: a head
    // that answers the connect at once gets the command it arms now.
    tcp_.SettleConnect(kSettleConnectMs);
    timers_.FireDue();
    ui_.RefreshStatusLine(); // says when no head is chosen yet
    if (!commandLine_.gpsDevice.empty())
        gps_->StartFromCommandLine(commandLine_.gpsDevice, commandLine_.gpsBaud);
    else if (demo_ && !demo_->GpsSource().empty())
        gps_->StartFromCommandLine(demo_->GpsSource(), demo_->GpsBaud());
    web_ = std::make_unique<StationWeb>(*frame_, *view_, gps_->Source());
    web_->Start(commandLine_.webListen, doc_->State().settings);
    doc_->NotifyStateChange(); // the link may be up already
    ScheduleTimedQuit();
    return true;
}

void CVelmarisApp::CreateDocument(const std::string& iniPath)
{
    ports_ = ComPortMap::FromSettingsFile(iniPath);
    serial_.SetComPortMap(ports_);
    doc_ = std::make_unique<CVelmarisDoc>(ui_, CycleLinks {timers_, serial_, tcp_, udp_}, reporter_);
    timers_.SetEvents(&doc_->Events());
    serial_.SetEvents(&doc_->Events());
    tcp_.SetEvents(&doc_->Events());
    udp_.SetEvents(&doc_->Events());
    commands_ = std::make_unique<DocumentCommands>(*doc_, hooks_);
    AccessPoints::document = doc_.get();
}

void CVelmarisApp::BuildWindows()
{
    frame_ = std::make_unique<CMainFrame>(*commands_);
    AccessPoints::mainFrame = frame_.get();
    commands_->SetStateObserver(frame_.get());
    reporter_.SetParent(frame_.get());
    view_ = new CVelmarisView(&ui_);
    frame_->SetView(view_);
    hooks_.SetView(view_);
    ui_.Attach(doc_.get(), frame_.get(), view_);
    ui_.Hooks().colorIndicator = [this] { return commands_->ColorIndicator(); };
    floating_ = std::make_unique<FloatingWindows>(*doc_, *frame_, reporter_);
    floating_->Plug(ui_, hooks_, *commands_);
    PlugStandardDialogs(hooks_, *frame_);
    gps_ = std::make_unique<StationGps>(*doc_, *frame_, serial_, reporter_, ports_);
    gps_->Plug(hooks_);
    PlugRecordingAndPlayback();
    PlugViewInteraction();
    frame_->SetTitleSource([this] {
        const SonarState& state = doc_->State();
        TitleState title;
        title.hasDocument = true;
        title.playingBack = state.flags.playback;
        title.udpMode = state.settings.udpMode;
        title.sonarType = state.settings.sonarType;
        title.playbackPath = doc_->PlaybackControl().FileName();
        return title;
    });
    connect(frame_.get(), &CMainFrame::frameClosing, this, [this] { Shutdown(); });
}

void CVelmarisApp::PlugTermination()
{
    if (shutdown_ != nullptr)
        return;
    shutdown_
        = new ShutdownRequest([this] { reporter_.CloseAll(); }, [this] { EndFromOutermostLoop(); }, this);
    signals_ = new SignalBridge(this);
    connect(signals_, &SignalBridge::terminationRequested, shutdown_, &ShutdownRequest::Request);
}

void CVelmarisApp::EndFromOutermostLoop()
{
    // The frame's close runs the shutdown order; without a frame it runs here.
    if (frame_)
        frame_->close();
    Shutdown();
    QCoreApplication::exit(0);
}

void CVelmarisApp::PlugRecordingAndPlayback()
{
    fileWindows_ = std::make_unique<QtFileWindows>(*frame_, *doc_);
    fileWindows_->SetPanelHider([this] { hooks_.ShowSettingsPanel(false); });
    doc_->SetFileWindows(fileWindows_.get(), fileWindows_.get());
    Playback& playback = doc_->PlaybackControl();
    hooks_.openPlayback = [&playback] { playback.Open(); };
    hooks_.toggleRecording = [this] { doc_->RecordingControl().StartStop(); };
    hooks_.realTimePlayAvailable = [&playback] { return playback.RealTimePlayEnabled(); };
    hooks_.realTimePlayOn = [&playback] { return playback.RealTimePlay(); };
    hooks_.toggleRealTimePlay = [&playback] { playback.ToggleRealTimePlay(); };
    hooks_.chooseRecordDirectory
        = [this] { return AskRecordDirectory(doc_->Dialogs(), doc_->State().settings.writeFileDirectory); };
    connect(frame_.get(), &CMainFrame::fileDropped, this, [this, &playback](const QString& path) {
        playback.OpenDroppedFile(path.toStdString());
        doc_->NotifyStateChange();
    });
}

void CVelmarisApp::PlugViewInteraction()
{
    capture_ = std::make_unique<ScreenCapture>(*frame_, reporter_);
    // GeoJSON, KML and GPX are offered where the GDAL module is in place; it
    // is loaded on the first such export, not at start.
    if (GisModuleFound())
        hooks_.charts = &ModuleChartWriter();
    hooks_.saveScreen
        = [this] { capture_->Run(QString::fromStdString(doc_->State().settings.writeFileDirectory)); };
    connect(view_, &CVelmarisView::cursorRead, this, [this] { ui_.RefreshCursorReadouts(); });
    // Every finished measurement joins the run's targets ("Export Targets..."
    // turns on), placed on the earth when the ping on screen has a position.
    connect(view_, &CVelmarisView::targetMeasured, this, [this](const MeasuredTarget& target) {
        doc_->Targets().push_back(target);
        PlaceTarget(doc_->Targets().back(), doc_->ScreenNavigation(), doc_->State().settings);
        doc_->NotifyStateChange();
    });
    // The wheel steps the zoom through the same commands as the menu.
    connect(view_, &CVelmarisView::zoomStepRequested, this,
        [this](int step) { frame_->DispatchCommand(step > 0 ? cmd::kZoomIn : cmd::kZoomOut); });
}

bool CVelmarisApp::StartDemoHead(DocumentSetup& setup)
{
    demo_ = std::make_unique<DemoWorld>();
    std::string error;
    if (!demo_->Start(&error)) {
        std::fprintf(stderr, "velmaris: the simulated head could not start: %s\n", error.c_str());
        return false;
    }
    const std::string demoIni = DemoSettingsPath(setup.iniPath);
    if (!PrepareDemoSettings(setup.iniPath, demoIni)) {
        std::fprintf(stderr, "velmaris: cannot write the demo settings file %s\n", demoIni.c_str());
        return false;
    }
    setup.iniPath = demoIni;
    setup.headTcpPort = demo_->HeadPort();
    std::printf("velmaris: demo with the simulated K52L head on 127.0.0.1:%u (settings in %s)\n",
        static_cast<unsigned>(demo_->HeadPort()), demoIni.c_str());
    if (!demo_->GpsSource().empty())
        std::printf("velmaris: the simulated boat's GPS on %s\n", demo_->GpsSource().c_str());
    std::fflush(stdout);
    return true;
}

void CVelmarisApp::ConnectAtStart()
{
    // A file on the command line: connect and record into it, whatever `UDP Mode` says.
    if (!commandLine_.recordFile.empty()) {
        doc_->Cycle().StartRealTime();
        doc_->RecordingControl().OpenRecordFile(commandLine_.recordFile);
        return;
    }
    // --play FILE (a file manager opening a recording): played back as if
    // chosen in "&Open File to Playback", with the same checks and messages,
    // and no head is contacted; a file that cannot be played leaves the
    // usual start below.
    if (!commandLine_.playFile.empty() && doc_->PlaybackControl().OpenNamedFile(commandLine_.playFile))
        return;
    if (doc_->State().settings.udpMode != 0 && !commandLine_.demo)
        doc_->Cycle().StartUdpMode();
    else
        doc_->Cycle().StartRealTime();
}

void CVelmarisApp::ScheduleTimedQuit()
{
    if (commandLine_.runForSeconds <= 0)
        return;
    QTimer::singleShot(commandLine_.runForSeconds * 1000, this, [this] { QuitAfterPicture(0); });
}

void CVelmarisApp::QuitAfterPicture(int waitedMs)
{
    // The picture shows the last painted ping: wait (a little) for the reply in flight.
    if (waitedMs < 1000 && doc_->Cycle().Acquisition().awaitingReply) {
        QTimer::singleShot(5, this, [this, waitedMs] { QuitAfterPicture(waitedMs + 5); });
        return;
    }
    if (!commandLine_.screenshotPath.empty() && frame_)
        SavePicture();
    shutdown_->Request();
}

void CVelmarisApp::SavePicture()
{
    const QString path = QString::fromStdString(commandLine_.screenshotPath);
    // On a real display the picture shows the floating windows too.
    const bool offscreen = QGuiApplication::platformName() == QStringLiteral("offscreen");
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPixmap picture = offscreen || screen == nullptr ? frame_->grab() : screen->grabWindow(0);
    if (picture.save(path))
        std::printf("velmaris: wrote a picture of the station to %s\n", commandLine_.screenshotPath.c_str());
    else
        std::fprintf(stderr, "velmaris: cannot write %s\n", commandLine_.screenshotPath.c_str());
    std::fflush(stdout);
}

void CVelmarisApp::Shutdown()
{
    if (closed_ || !doc_)
        return;
    closed_ = true;
    reporter_.CloseAll(); // no box outlives the station or opens during its close
    if (web_)
        web_->Stop(); // no viewer reads the document while it closes
    if (gps_)
        gps_->Close();
    // The message boxes are closed by now: a failed save is said on the terminal.
    if (!doc_->Close())
        std::fprintf(stderr, "velmaris: the settings could not be saved to %s\n", doc_->IniPath().c_str());
    if (floating_)
        floating_->Destroy();
    AccessPoints::document = nullptr;
    AccessPoints::mainFrame = nullptr;
    if (demo_)
        demo_->Stop();
}

} // namespace velmaris
