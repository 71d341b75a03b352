#pragma once
// Logic of the one-line mini settings bar: refreshes its six value fields
// and spins from the document, runs the shared spin rules, and applies the
// bar's own range-release rule (letting go of the range spin sets the range
// from the spin's position and always clears the image, even when the range
// stayed the same). Binds to controls it does not own, so any bar built with
// CSpinButton spins and read-only QLineEdit fields can use it.
//
// Ownership: the controls belong to the bar widget, the settings, message and
// operations to the document; all must outlive this object (make it a child
// of the bar). User-interface thread only.

#include "controls/qt/SettingsFieldSet.h"

#include <QObject>

namespace velmaris {

class MiniSettingsBarController : public QObject {
    Q_OBJECT
public:
    MiniSettingsBarController(const SharedFieldControls& controls, const SonarSettings& settings,
        const CommandMessage& message, SettingsOperations& operations, QObject* parent = nullptr);

    // Rewrites the six fields and spin ranges; what the document's
    // SettingsHost::RefreshMiniSettingsBar should call.
    void Refresh();

private:
    void RangeReleased();

    SharedFieldControls controls_;
    const SonarSettings& settings_;
    const CommandMessage& message_;
    SettingsOperations& operations_;
};

} // namespace velmaris
