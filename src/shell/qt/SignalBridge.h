#pragma once
// Turns SIGTERM and SIGINT into a Qt signal on the user-interface thread, so
// the station shuts down in its usual order (settings saved, files closed)
// instead of dying mid-ping. The handler only writes one byte to a socket
// pair; everything else happens in the event loop.

#include <QObject>

class QSocketNotifier;

namespace velmaris {

class SignalBridge final : public QObject {
    Q_OBJECT
public:
    explicit SignalBridge(QObject* parent = nullptr);
    ~SignalBridge() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace velmaris
