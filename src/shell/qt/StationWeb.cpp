#include "shell/qt/StationWeb.h"

#include <QHostAddress>
#include <QLabel>
#include <QNetworkInterface>
#include <QStatusBar>

#include <cstdio>

#include "protocol/SonarSettings.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/CStatusPanes.h"
#include "web/qt/WebServer.h"

namespace velmaris {

namespace {

std::string HostText(const QHostAddress& address)
{
    const std::string text = address.toString().toStdString();
    return address.protocol() == QAbstractSocket::IPv6Protocol ? "[" + text + "]" : text;
}

// The hosts a browser can reach: the one listened on, or every address of
// the machine (loopback last) when listening on all of them.
std::vector<std::string> HostsFor(const QHostAddress& listened)
{
    if (listened != QHostAddress::AnyIPv4 && listened != QHostAddress::AnyIPv6
        && listened != QHostAddress::Any)
        return {HostText(listened)};
    std::vector<std::string> hosts;
    for (const QHostAddress& address : QNetworkInterface::allAddresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            hosts.push_back(HostText(address));
    hosts.push_back("127.0.0.1");
    return hosts;
}

} // namespace

StationWeb::StationWeb(CMainFrame& frame, CVelmarisView& view, const GpsSource& gps)
    : frame_(frame)
    , view_(view)
    , gps_(gps)
{ }

StationWeb::~StationWeb()
{
    Stop();
}

bool StationWeb::Start(const std::string& commandLineListen, const SonarSettings& settings)
{
    const std::string text = !commandLineListen.empty() ? commandLineListen
        : settings.webView != 0                         ? settings.webListen
                                                        : std::string();
    if (text.empty())
        return true;
    pane_ = new QLabel(&frame_);
    pane_->setObjectName(QStringLiteral("webPane"));
    pane_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LetPaneGiveWay(pane_);
    frame_.statusBar()->addPermanentWidget(pane_);

    WebListen listen;
    std::string error = "not [ADDR:]PORT: " + text;
    auto server = std::make_unique<WebServer>(view_);
    server->SetGps(&gps_);
    if (!ParseWebListen(text, listen) || !server->Listen(listen, WebServer::NewToken(), &error)) {
        std::fprintf(stderr, "velmaris: the web view cannot listen on %s: %s\n", text.c_str(), error.c_str());
        pane_->setText(QStringLiteral("Web view off: ") + QString::fromStdString(error));
        pane_->setToolTip(pane_->text());
        return false;
    }
    server_ = std::move(server);
    const std::string port = std::to_string(server_->Port());
    for (const std::string& host : HostsFor(QHostAddress(QString::fromStdString(listen.address))))
        urls_.push_back("http://" + host + ":" + port + "/?token=" + server_->Token());
    for (const std::string& url : urls_)
        std::printf("velmaris: web view at %s\n", url.c_str());
    std::fflush(stdout);
    QObject::connect(
        server_.get(), &WebServer::viewersChanged, pane_, [this](int count) { ShowPane(count); });
    ShowPane(0);
    return true;
}

void StationWeb::Stop()
{
    server_.reset();
}

void StationWeb::ShowPane(int viewers)
{
    if (pane_ == nullptr || urls_.empty())
        return;
    pane_->setText(QStringLiteral("Web %1  (%2 of %3 viewers)")
                       .arg(QString::fromStdString(urls_.front()))
                       .arg(viewers)
                       .arg(kMaxWebViewers));
    pane_->setToolTip(pane_->text());
}

} // namespace velmaris
