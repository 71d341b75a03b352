#pragma once
// Operator messages as modal message boxes with an OK button, titled
// "Velmaris". User-interface thread only.

#include "files/Reporter.h"

class QWidget;

namespace velmaris {

class QtReporter final : public Reporter {
public:
    void SetParent(QWidget* parent) { parent_ = parent; }
    void ShowMessage(const std::string& text) override;

private:
    QWidget* parent_ = nullptr;
};

} // namespace velmaris
