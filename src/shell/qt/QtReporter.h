#pragma once
// Operator messages as application-modal message boxes with an OK button,
// titled "Velmaris", with the message's icon (none for a plain message). ShowMessage queues the text and
// returns; the box is opened from the event loop once the reporting handler has returned, and it runs no
// event loop of its own (the box is shown, not executed), so a socket, timer or signal handler is never held
// up and never resumed over objects that were torn down meanwhile. Boxes come one at a time, in the order
// reported: the next opens when the operator has closed the last.
//
// User-interface thread only.

#include "files/Reporter.h"

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <deque>
#include <string>

class QWidget;

namespace velmaris {

class QtReporter final : public QObject, public Reporter {
    Q_OBJECT
public:
    QtReporter() = default;
    ~QtReporter() override;

    // The window the boxes stand over (may be null; it may go away first).
    void SetParent(QWidget* parent) { parent_ = parent; }

    // Closes the box on screen and drops the waiting messages; later
    // messages are dropped too. For the station's shutdown.
    void CloseAll();

    // The box on screen (null when none) and the messages waiting behind it.
    QMessageBox* Showing() const { return box_; }
    std::size_t Waiting() const { return waiting_.size(); }

    // The box's icon for a message's icon.
    static QMessageBox::Icon BoxIcon(MessageIcon icon);

protected:
    void Report(const std::string& text, MessageIcon icon) override;

private:
    void ScheduleNext();
    void ShowNext();

    QPointer<QWidget> parent_;
    QPointer<QMessageBox> box_;
    struct Message {
        std::string text;
        MessageIcon icon;
    };
    std::deque<Message> waiting_;
    bool scheduled_ = false;
    bool closed_ = false;
};

} // namespace velmaris
