#include "shell/qt/ShutdownRequest.h"

#include <QApplication>
#include <QDialog>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace velmaris {

namespace {
// The window's own event loop comes on top of the program's: one loop
// means control is back where no handler waits underneath.
bool InOutermostLoop()
{
    return QThread::currentThread()->loopLevel() <= 1;
}
} // namespace

ShutdownRequest::ShutdownRequest(
    std::function<void()> endReports, std::function<void()> teardown, QObject* parent)
    : QObject(parent)
    , endReports_(std::move(endReports))
    , teardown_(std::move(teardown))
{ }

void ShutdownRequest::Request()
{
    if (requested_)
        return;
    requested_ = true;
    since_.start();
    Step();
}

void ShutdownRequest::EndPopupsAndModals()
{
    // Each pass ends the innermost window; one that will not end stops the
    // loop so a stubborn window cannot hold the shutdown here.
    for (QWidget* popup = QApplication::activePopupWidget(); popup != nullptr;) {
        popup->close();
        QWidget* next = QApplication::activePopupWidget();
        if (next == popup)
            break;
        popup = next;
    }
    for (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr;) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
        QWidget* next = QApplication::activeModalWidget();
        if (next == modal)
            break;
        modal = next;
    }
}

void ShutdownRequest::Step()
{
    if (tornDown_)
        return;
    if (endReports_)
        endReports_();
    EndPopupsAndModals();
    if (!InOutermostLoop()) {
        if (since_.elapsed() < kGiveUpMs) {
            // The ended windows' loops return when this handler has; look again then.
            QTimer::singleShot(kRetryMs, this, [this] { Step(); });
            return;
        }
        QCoreApplication::exit(0); // every loop of this thread returns; the owner tears down after
        return;
    }
    tornDown_ = true;
    if (teardown_)
        teardown_();
}

} // namespace velmaris
