#include "shell/qt/StationGps.h"

#include "controls/ConnectionRules.h"
#include "controls/qt/CComPortDlg.h"
#include "controls/qt/CDiagDlg.h"
#include "controls/qt/CIPAddressDlg.h"
#include "files/Reporter.h"
#include "links/qt/SerialHeadLink.h"
#include "shell/qt/AccessPoints.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/CStatusPanes.h"
#include "shell/qt/StationHooks.h"
#include "station/CVelmarisDoc.h"

#include <cstdio>

namespace velmaris {

StationGps::StationGps(
    CVelmarisDoc& doc, CMainFrame& frame, SerialHeadLink& serial, Reporter& reporter, ComPortMap ports)
    : doc_(doc)
    , frame_(frame)
    , serial_(serial)
    , reporter_(reporter)
    , ports_(std::move(ports))
{
    reader_.SetOnTexts([this] { ShowTexts(); });
    // While the station records, every sentence goes into the track beside the data file.
    // The cursor's position reads the same sentences.
    reader_.SetOnSentence([this](const std::string& sentence) {
        doc_.Track().OnSentence(sentence);
        doc_.Places().OnSentence(sentence);
    });
}

void StationGps::Plug(StationHooks& hooks)
{
    hooks.editIpAddress = [this](const std::string& current) { return RunIpAddressDialog(current, &frame_); };
    hooks.chooseComPorts = [this](ComPortChoice& choice) {
        const ComPortHolders holders {serial_.HeldComPort(), reader_.HeldComPort()};
        return RunComPortDialog(choice, holders, ports_, reporter_, &frame_);
    };
    hooks.restartGpsInput = [this] { Restart(); };
}

int StationGps::ComPortOf(const std::string& device) const
{
    if (const std::optional<int> named = ComPortFromEntry(device);
        named && device == "COM" + std::to_string(*named))
        return *named;
    for (int port = 1; port <= kMaxNamedComPort; ++port)
        if (!device.empty() && ports_.Device(port) == device)
            return port;
    return 0;
}

bool StationGps::OpenDevice(const std::string& device, int baud, int comPort)
{
    const SerialOpenResult result = reader_.Open(QString::fromStdString(device), baud, comPort);
    if (result == SerialOpenResult::Ok) {
        ShowTexts();
        return true;
    }
    if (comPort != 0)
        reporter_.ShowMessage(GpsNotAvailableMessage(comPort));
    else
        std::fprintf(stderr, "velmaris: the GPS device %s cannot be opened\n", device.c_str());
    return false;
}

bool StationGps::StartFromCommandLine(const std::string& device, int baud)
{
    commandLineDevice_ = device;
    commandLineBaud_ = baud;
    if (IsGpsNetworkText(device)) {
        std::string error;
        const auto address = ParseGpsNetworkAddress(device, error);
        if (address && reader_.OpenNetwork(*address, error)) {
            ShowTexts();
            return true;
        }
        std::fprintf(
            stderr, "velmaris: the GPS source %s cannot be opened: %s\n", device.c_str(), error.c_str());
        return false;
    }
    const int comPort = ComPortOf(device);
    const bool named = device.starts_with("COM") && comPort != 0;
    return OpenDevice(named ? ports_.Device(comPort) : device, baud, comPort);
}

void StationGps::Restart()
{
    reader_.Close();
    if (CStatusPanes* panes = frame_.StatusPanes())
        panes->HideGpsPane(); // shown again once a port opens
    const SonarSettings& s = doc_.State().settings;
    if (s.useGps == 1)
        OpenDevice(ports_.Device(s.gpsComPort), s.gpsComPortBaud, s.gpsComPort);
    else if (!commandLineDevice_.empty())
        StartFromCommandLine(commandLineDevice_, commandLineBaud_);
}

void StationGps::ShowTexts()
{
    if (CStatusPanes* panes = frame_.StatusPanes())
        panes->SetGpsText(QString::fromStdString(GpsStatusLine(reader_.Texts())));
    // While the input runs, the diagnostics window lists the texts too.
    if (CDiagDlg* diag = AccessPoints::Diagnostics())
        diag->SetExtraLines(
            reader_.Running() ? GpsDiagnosticsLines(reader_.Texts()) : DiagnosticsLines::ExtraLines {});
}

} // namespace velmaris
