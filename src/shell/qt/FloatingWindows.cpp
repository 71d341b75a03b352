#include "shell/qt/FloatingWindows.h"

#include "controls/qt/CDiagDlg.h"
#include "controls/qt/CKeyInDlg.h"
#include "controls/qt/CMiniSettingsBar.h"
#include "controls/qt/CSoundVDlg.h"
#include "controls/qt/SettingsPanelWindow.h"
#include "shell/FloatingPlacement.h"
#include "shell/qt/AccessPoints.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/StationHooks.h"
#include "shell/qt/StationUi.h"
#include "station/CVelmarisDoc.h"
#include "station/DocumentCommands.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

namespace velmaris {

namespace {

PlaceRect ToPlace(const QRect& r)
{
    return PlaceRect {r.x(), r.y(), r.width(), r.height()};
}

// The window's outer size before its first show, its frame estimated from
// the main window's.
QSize OuterSize(QWidget* window, const QWidget& frame)
{
    const QSize decoration = frame.frameGeometry().size() - frame.geometry().size();
    return window->sizeHint() + decoration;
}

} // namespace

FloatingWindows::FloatingWindows(CVelmarisDoc& doc, CMainFrame& frame, Reporter& reporter)
    : doc_(doc)
    , frame_(frame)
    , reporter_(reporter)
{
    SonarState& state = doc.State();
    miniBar_ = new CMiniSettingsBar(state.settings, state.command, doc.Operations());
    frame.SetMiniSettingsBar(miniBar_);
    panel_ = std::make_unique<SettingsPanelWindow>(state.settings, state.command, doc.Operations(), &frame);
    AccessPoints::settingsPanel = panel_.get();
    panel_->SetOnCreated([this](CCtrlPanelDlg& panel) {
        frame_.InstallAccelerators(&panel);
        panel.installEventFilter(this); // its close box changes the command's check
        connect(&panel, &CCtrlPanelDlg::hideKeyInRequested, this, [this] {
            if (keyIn_ != nullptr)
                keyIn_->hide();
        });
    });
    frame.installEventFilter(this);
}

FloatingWindows::~FloatingWindows()
{
    Destroy();
}

void FloatingWindows::CreateKeyIn()
{
    if (keyIn_ == nullptr)
        keyIn_ = new CKeyInDlg(&doc_.Operations(), &frame_);
    AccessPoints::keyIn = keyIn_;
}

void FloatingWindows::CreateDiagnostics()
{
    if (diag_ != nullptr)
        return;
    diag_ = new CDiagDlg(doc_.State().settings, &frame_);
    AccessPoints::diagnostics = diag_;
    connect(diag_, &CDiagDlg::hideKeyInRequested, this, [this] {
        if (keyIn_ != nullptr)
            keyIn_->hide();
    });
}

void FloatingWindows::RefreshDiagnostics()
{
    if (diag_ != nullptr)
        diag_->Refresh(DiagnosticsInputFrom(doc_.State(), doc_.Cycle().Acquisition()));
}

void FloatingWindows::SetFloatingShown(QWidget* window, bool shown)
{
    if (!shown) {
        window->hide();
        return;
    }
    QScreen* screen = frame_.screen() != nullptr ? frame_.screen() : QGuiApplication::primaryScreen();
    const PlaceRect available
        = screen != nullptr ? ToPlace(screen->availableGeometry()) : ToPlace(frame_.frameGeometry());
    if (!window->property("velmarisPlaced").toBool()) {
        const QSize outer = OuterSize(window, frame_);
        const QWidget* image = frame_.centralWidget();
        const QRect imageRect
            = image != nullptr ? QRect(image->mapToGlobal(QPoint(0, 0)), image->size()) : frame_.geometry();
        std::vector<PlaceRect> taken;
        for (QWidget* other :
            {panel_ ? static_cast<QWidget*>(panel_->Panel()) : nullptr, static_cast<QWidget*>(diag_)})
            if (other != nullptr && other != window && other->property("velmarisPlaced").toBool())
                taken.push_back(ToPlace(other->frameGeometry()));
        const PlaceRect at
            = FirstFloatingPlace(ToPlace(imageRect), outer.width(), outer.height(), taken, available);
        // Before its first show the window's frame is not known yet and a
        // move places the client area: leave room for the frame the window
        // manager adds, as it does to the main window.
        const QPoint frameOffset = frame_.geometry().topLeft() - frame_.frameGeometry().topLeft();
        window->move(at.x + frameOffset.x(), at.y + frameOffset.y());
        window->setProperty("velmarisPlaced", true);
        window->show();
        return;
    }
    // Where the operator left it, but on the screen (the screen or its
    // scale may have changed since). Moved once shown: a hidden window's
    // position and frame are not reliable on every window manager.
    window->show();
    const QRect outer = window->frameGeometry();
    const PlaceRect at = KeptOnScreen(ToPlace(outer), available);
    if (at.x != outer.x() || at.y != outer.y())
        window->move(at.x, at.y);
}

void FloatingWindows::Plug(StationUi& ui, StationHooks& hooks, DocumentCommands& commands)
{
    FloatingHooks& floating = ui.Hooks();
    floating.createFloatingWindows = [this] {
        CreateDiagnostics();
        CreateKeyIn();
    };
    floating.refreshDiagnostics = [this] { RefreshDiagnostics(); };
    floating.resetDiagnostics = [this] {
        if (diag_ != nullptr)
            diag_->Reset();
    };
    floating.hideSettingsPanel = [this] {
        if (panel_ && panel_->Exists())
            panel_->SetShown(false);
    };
    floating.settingsPanelExists = [this] { return panel_ && panel_->Exists(); };
    floating.refreshSettingsPanel = [this] {
        if (panel_)
            panel_->RefreshDisplay();
    };
    floating.refreshMiniSettingsBar = [this] { miniBar_->Refresh(); };
    floating.settingsLoaded = [this, &commands] {
        miniBar_->Refresh(); // a load changes what the bar shows
        SonarSettings& settings = doc_.State().settings;
        if (doc_.State().flags.playback != 0)
            return;
        // The show-settings command inverts the flag back and shows or hides the panel.
        settings.settingsDlgVisible = settings.settingsDlgVisible != 0 ? 0 : 1;
        commands.ToggleSettingsPanel();
    };

    hooks.showSettingsPanel = [this](bool show) {
        if (!panel_->Exists())
            panel_->Create();
        SetFloatingShown(panel_->Panel(), show);
    };
    hooks.showDiagnostics = [this](bool show) {
        CreateDiagnostics();
        SetFloatingShown(diag_, show);
        RefreshDiagnostics();
    };
    hooks.diagnosticsVisible = [this]() -> std::optional<bool> {
        if (diag_ == nullptr)
            return std::nullopt;
        return diag_->isVisible();
    };
    hooks.settingsPanelVisible = [this]() -> std::optional<bool> {
        if (!panel_ || !panel_->Exists())
            return std::nullopt;
        return panel_->IsShown();
    };
    hooks.showKeyIn = [this](int kind, const std::optional<std::string>& prompt) {
        if (keyIn_ == nullptr)
            return;
        keyIn_->ShowKeyIn(kind,
            prompt ? QString::fromStdString(*prompt) : QString::fromStdString(keyIn_->Prompt()),
            frame_.frameGeometry());
    };
    hooks.editSoundVelocity = [this](double) -> std::optional<double> {
        CSoundVDlg dialog(&doc_.State().settings, &doc_.State().flags, reporter_, &frame_);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.WorkingSpeed();
    };
}

void FloatingWindows::Destroy()
{
    if (panel_)
        panel_->Destroy();
    delete keyIn_;
    keyIn_ = nullptr;
    delete diag_;
    diag_ = nullptr;
    AccessPoints::diagnostics = nullptr;
    AccessPoints::keyIn = nullptr;
    AccessPoints::settingsPanel = nullptr;
}

bool FloatingWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &frame_ && event->type() == QEvent::WindowActivate && keyIn_ != nullptr)
        keyIn_->hide();
    // A floating window shown or hidden (by its close box too): the check of
    // the command that shows it follows.
    if (watched != &frame_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        doc_.NotifyStateChange();
    return QObject::eventFilter(watched, event);
}

} // namespace velmaris
