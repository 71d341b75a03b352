#pragma once
// The station's web view: started from --web [ADDR:]PORT or, without it,
// from the settings' "Web View" section when it is enabled. Prints the
// address to open (with its access token) and shows it in a "Web" pane at
// the right of the status bar, with the number of viewers.
//
// Ownership: owns the web server and nothing else; the frame, the view and
// the GPS source must outlive it. User-interface thread only.

#include <memory>
#include <string>
#include <vector>

class QLabel;

namespace velmaris {

class CMainFrame;
class CVelmarisView;
class GpsSource;
class WebServer;
struct SonarSettings;

class StationWeb {
public:
    StationWeb(CMainFrame& frame, CVelmarisView& view, const GpsSource& gps);
    ~StationWeb();

    // Serves the web view on `commandLineListen` ("" for none), else on the
    // settings' address when they enable it. False when it was asked for and
    // could not start (the reason is printed and shown in the pane).
    bool Start(const std::string& commandLineListen, const SonarSettings& settings);
    // Closes every connection; the station goes on without the web view.
    void Stop();

    WebServer* Server() const { return server_.get(); }
    // The addresses to open (one per address of the machine when it listens
    // on all of them), empty while not serving.
    const std::vector<std::string>& Urls() const { return urls_; }

private:
    void ShowPane(int viewers);

    CMainFrame& frame_;
    CVelmarisView& view_;
    const GpsSource& gps_;
    std::unique_ptr<WebServer> server_;
    std::vector<std::string> urls_;
    QLabel* pane_ = nullptr; // owned by the status bar
};

} // namespace velmaris
