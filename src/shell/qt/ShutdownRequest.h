#pragma once
// Ends the station on SIGTERM, SIGINT or the end of a timed run, whatever is
// open at that moment. A modal dialog or a context menu runs its own event
// loop on top of the handler that opened it; tearing the station down from
// inside that loop would delete sockets and windows under the handlers still
// on the stack, and a dialog left open would keep the program from ending.
// So a request first ends every popup and modal window (and the reporter's
// boxes), then waits until control is back in the outermost event loop and
// runs the teardown there, exactly once. Should a nested loop refuse to end
// within kGiveUpMs, every event loop is told to exit instead, and the owner
// tears down after the outermost one has returned.
//
// User-interface thread only.

#include <QElapsedTimer>
#include <QObject>
#include <functional>

namespace velmaris {

class ShutdownRequest final : public QObject {
    Q_OBJECT
public:
    static constexpr int kRetryMs = 5;
    static constexpr int kGiveUpMs = 600;

    // `endReports` closes the reporter's boxes; `teardown` ends the station
    // from the outermost event loop.
    ShutdownRequest(
        std::function<void()> endReports, std::function<void()> teardown, QObject* parent = nullptr);

    // Starts the shutdown; later requests while it runs change nothing.
    void Request();
    bool Requested() const { return requested_; }
    bool TornDown() const { return tornDown_; }

    // Ends the open popups (menus) and modal windows, innermost first.
    static void EndPopupsAndModals();

private:
    void Step();

    std::function<void()> endReports_;
    std::function<void()> teardown_;
    QElapsedTimer since_;
    bool requested_ = false;
    bool tornDown_ = false;
};

} // namespace velmaris
