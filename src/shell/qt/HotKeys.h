#pragma once
// The hot keys as Qt shortcuts. The main frame carries one set with
// application-wide context, so the keys work from the frame and from every
// non-modal window of the station (settings panel, diagnostics window...),
// while a text field with the focus still takes the characters typed into it.
// A modal window blocks application-wide shortcuts; a modal window that
// must carry the hot keys (the hot-keys list) gets its own copy, which is
// live only while that window is shown modally, so the two sets never
// compete for a key.

#include "shell/FrameLayout.h"

#include <QKeySequence>
#include <QObject>

#include <functional>
#include <vector>

class QAction;
class QWidget;

namespace velmaris {

// The key sequence one table entry matches: a Char entry matches its letter
// with Shift for upper case and without for lower case.
QKeySequence AcceleratorSequence(const Accelerator& accelerator);

// One action per table entry, added to `owner`, with `context`; each calls
// `dispatch(id)` while `receiver` lives.
std::vector<QAction*> CreateAcceleratorActions(
    QWidget* owner, Qt::ShortcutContext context, QObject* receiver, const std::function<void(int)>& dispatch);

// Watches `window` and enables `actions` only while it is shown modally.
class ModalAcceleratorGuard : public QObject {
    Q_OBJECT
public:
    ModalAcceleratorGuard(QWidget* window, std::vector<QAction*> actions);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Update(bool shown);
    QWidget* window_;
    std::vector<QAction*> actions_;
};

// Installed on a popup menu: letters typed while it is open pick its items
// (mnemonics) instead of firing hot keys.
class MenuKeyGuard : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace velmaris
