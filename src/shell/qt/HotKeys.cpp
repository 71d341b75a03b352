#include "shell/qt/HotKeys.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace velmaris {

namespace {

int QtKey(Accelerator::Key key)
{
    using K = Accelerator::Key;
    switch (key) {
    case K::Space:
        return Qt::Key_Space;
    case K::S:
        return Qt::Key_S;
    case K::F1:
        return Qt::Key_F1;
    case K::F2:
        return Qt::Key_F2;
    case K::F3:
        return Qt::Key_F3;
    case K::Up:
        return Qt::Key_Up;
    case K::Down:
        return Qt::Key_Down;
    case K::Left:
        return Qt::Key_Left;
    case K::Right:
        return Qt::Key_Right;
    case K::None:
        break;
    }
    return 0;
}

} // namespace

QKeySequence AcceleratorSequence(const Accelerator& accelerator)
{
    if (accelerator.kind == Accelerator::Kind::Char) {
        const char c = accelerator.ch;
        if (c >= 'a' && c <= 'z')
            return QKeySequence(Qt::Key_A + (c - 'a'));
        if (c >= 'A' && c <= 'Z')
            return QKeySequence(QKeyCombination(Qt::ShiftModifier, Qt::Key(Qt::Key_A + (c - 'A'))));
        return QKeySequence();
    }
    const int key = QtKey(accelerator.key);
    if (key == 0)
        return QKeySequence();
    const Qt::KeyboardModifiers modifiers = accelerator.ctrl ? Qt::ControlModifier : Qt::NoModifier;
    return QKeySequence(QKeyCombination(modifiers, Qt::Key(key)));
}

std::vector<QAction*> CreateAcceleratorActions(
    QWidget* owner, Qt::ShortcutContext context, QObject* receiver, const std::function<void(int)>& dispatch)
{
    std::vector<QAction*> actions;
    for (const Accelerator& accelerator : Accelerators()) {
        auto* action = new QAction(owner);
        action->setObjectName(QStringLiteral("hotKey%1").arg(actions.size()));
        action->setData(accelerator.id);
        action->setShortcut(AcceleratorSequence(accelerator));
        action->setShortcutContext(context);
        action->setAutoRepeat(true);
        const int id = accelerator.id;
        QObject::connect(action, &QAction::triggered, receiver, [dispatch, id] { dispatch(id); });
        owner->addAction(action);
        actions.push_back(action);
    }
    return actions;
}

ModalAcceleratorGuard::ModalAcceleratorGuard(QWidget* window, std::vector<QAction*> actions)
    : QObject(window)
    , window_(window)
    , actions_(std::move(actions))
{
    window->installEventFilter(this);
    Update(window->isVisible());
}

bool ModalAcceleratorGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_) {
        if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
            Update(true);
        else if (event->type() == QEvent::Hide)
            Update(false);
    }
    return false;
}

void ModalAcceleratorGuard::Update(bool shown)
{
    const bool live = shown && window_->isModal();
    for (QAction* action : actions_)
        action->setEnabled(live);
}

bool MenuKeyGuard::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers held = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (held == Qt::NoModifier && !key->text().isEmpty() && key->text().at(0).isLetterOrNumber()) {
        event->accept();
        return true;
    }
    return false;
}

} // namespace velmaris
