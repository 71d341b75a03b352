#pragma once
// Every message the operator must see goes through one reporter: the station
// shows a modal message box with an OK button and the message's icon; tests
// record the texts and icons.
//
// ShowMessage only hands the message over and returns at once. The station
// shows it from its event loop after the handler that reported it (a
// socket's, the serial worker's, a timer's or a dialog's) has returned, one
// box at a time in the order reported, so no handler ever waits for the
// operator and nothing is torn down under a handler's feet while a box is
// open. Callers must not rely on the operator having seen the message when
// ShowMessage returns. User-interface thread only.

#include <string>

namespace velmaris {

// The icon beside a message's text. A plain box has none; only messages
// that call for an icon name one.
enum class MessageIcon {
    None,
    Exclamation,
};

class Reporter {
public:
    virtual ~Reporter() = default;
    void ShowMessage(const std::string& text, MessageIcon icon = MessageIcon::None) { Report(text, icon); }

protected:
    virtual void Report(const std::string& text, MessageIcon icon) = 0;
};

} // namespace velmaris
