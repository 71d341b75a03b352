#pragma once
// Turns a request to end from outside (SIGTERM and SIGINT on POSIX; Ctrl+C,
// Ctrl+Break and closing the console on Windows) into a Qt signal on the
// user-interface thread, so the station shuts down in its usual order
// (settings saved, files closed) instead of dying mid-ping. The handler only
// passes the request on; everything else happens in the event loop. One
// bridge at a time; the platform's side is in posix/ or windows/.

#include <QObject>

namespace velmaris {

class SignalBridge final : public QObject {
    Q_OBJECT
public:
    explicit SignalBridge(QObject* parent = nullptr);
    ~SignalBridge() override;

signals:
    void terminationRequested();
};

} // namespace velmaris
