#pragma once
// The station's read-only web view: one HTTP port that serves the page
// (built in) and, on /ws, a WebSocket that streams the view's picture as
// colour indices, the colour table and the texts. Every request must carry
// the access token (403 otherwise); nothing a client sends changes the
// station. At most kMaxWebViewers watch; each gets at most 10 frames a
// second, only what changed, and none while its connection has not drained
// (WebViewers), so a stalled viewer costs a bounded amount of memory and the
// ping cycle never waits for anyone: every write only fills a buffer.
//
// Ownership: owned by the station's application object; does not own the
// view, which must outlive it, nor the GPS source. Thread: the
// user-interface thread, which also owns the document the view reads.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTcpServer>
#include <QTimer>

#include <array>
#include <string>

#include "web/WebPicture.h"
#include "web/WebRequest.h"
#include "web/WebViewers.h"

class QTcpSocket;
class QWebSocket;
class QWebSocketServer;

namespace velmaris {

class CVelmarisView;
class GpsSource;

inline constexpr int kWebTickMs = 100; // at most 10 frames a second
inline constexpr int kMaxPendingRequests = 16; // connections that have not finished their request

class WebServer : public QObject {
    Q_OBJECT
public:
    explicit WebServer(CVelmarisView& view, QObject* parent = nullptr);
    ~WebServer() override;

    // The GPS texts to show while `gps` runs (null: none).
    void SetGps(const GpsSource* gps) { gps_ = gps; }

    // Starts listening; false with `error` set when the address cannot be
    // used or bound.
    bool Listen(const WebListen& listen, const std::string& token, std::string* error);
    quint16 Port() const;
    const std::string& Token() const { return token_; }

    // 32 hexadecimal digits from the system's random source.
    static std::string NewToken();

    int ViewerCount() const { return viewers_.Count(); }
    // Frames sent to all viewers so far.
    quint64 FramesSent() const { return framesSent_; }
    // Ticks on which a viewer owed something and was sent nothing, summed
    // over the viewers watching now.
    quint64 FramesDropped() const;
    // Bytes still held by the station for viewer slots (not yet handed to
    // the network), summed.
    qint64 UnsentBytes() const;

    // One tick now (the timer runs them while anyone watches).
    void Tick();

signals:
    void viewersChanged(int count);

private:
    void OnConnection();
    void OnReadable(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, const QByteArray& bytes);
    void OnViewer();
    void OnViewerGone(int id);

    CVelmarisView& view_;
    const GpsSource* gps_ = nullptr;
    QTcpServer tcp_;
    QWebSocketServer* ws_ = nullptr; // child
    QTimer ticker_;
    std::string token_;
    QByteArray page_;
    QSet<QObject*> pending_; // connections whose request is still awaited
    WebViewers viewers_;
    std::array<QPointer<QWebSocket>, kMaxWebViewers> sockets_ {};
    WebPicture picture_;
    QByteArray palette_; // the last colour table message
    QByteArray state_; // the last state message
    quint64 framesSent_ = 0;
};

} // namespace velmaris
