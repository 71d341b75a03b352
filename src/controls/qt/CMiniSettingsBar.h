#pragma once
// The one-line mini settings bar the main frame docks under its toolbar:
// "Range:", "Gain:", "Sector:", "Train:", "Speed:", "Mode:", each with a
// read-only value field and a spin, left to right. Its logic lives in the
// MiniSettingsBarController controller it creates and owns.
//
// Ownership: settings, message and operations belong to the document and
// must outlive the bar. User-interface thread only.

#include "controls/qt/MiniSettingsBarController.h"

#include <QWidget>

namespace velmaris {

class CMiniSettingsBar : public QWidget {
    Q_OBJECT
public:
    CMiniSettingsBar(const SonarSettings& settings, const CommandMessage& message,
        SettingsOperations& operations, QWidget* parent = nullptr);

    void Refresh() { controller_->Refresh(); }
    MiniSettingsBarController* Controller() const { return controller_; }
    const SharedFieldControls& Controls() const { return controls_; }

private:
    SharedFieldControls controls_;
    MiniSettingsBarController* controller_ = nullptr;
};

} // namespace velmaris
