#pragma once
// Every message the operator must see goes through one reporter: the station
// shows a modal message box with an OK button; tests record the texts.
// User-interface thread only; ShowMessage returns when the operator has
// acknowledged the message.

#include <string>

namespace velmaris {

class Reporter {
public:
    virtual ~Reporter() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

} // namespace velmaris
