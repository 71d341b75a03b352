#include "shell/qt/FloatingWindows.h"

#include "controls/qt/CDiagDlg.h"
#include "controls/qt/CKeyInDlg.h"
#include "controls/qt/CMiniSettingsBar.h"
#include "controls/qt/CSoundVDlg.h"
#include "controls/qt/SettingsPanelWindow.h"
#include "image/qt/ViewRenderer.h"
#include "shell/FloatingPlacement.h"
#include "shell/ViewKeepClear.h"
#include "shell/qt/AccessPoints.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/StationHooks.h"
#include "shell/qt/StationUi.h"
#include "station/CVelmarisDoc.h"
#include "station/DocumentCommands.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

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

// The free area of the screen the main window is on.
PlaceRect AvailableScreen(const QWidget& frame)
{
    const QScreen* screen = frame.screen() != nullptr ? frame.screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? ToPlace(screen->availableGeometry()) : ToPlace(frame.frameGeometry());
}

// Set on a floating window once it has had its first place.
constexpr const char* kPlacedProperty = "velmarisPlaced";

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

PlacementScene FloatingWindows::SceneFor(const QWidget* window) const
{
    PlacementScene scene;
    scene.screen = AvailableScreen(frame_);
    scene.frame = ToPlace(frame_.frameGeometry());
    const QWidget* view = frame_.centralWidget();
    const QRect viewRect
        = view != nullptr ? QRect(view->mapToGlobal(QPoint(0, 0)), view->size()) : frame_.geometry();
    scene.view = ToPlace(viewRect);
    // The texts measured in the fonts the view draws them with.
    const QFontMetrics metricsA(ViewFontFor(ViewFont::A));
    const QFontMetrics metricsB(ViewFontFor(ViewFont::B));
    const ViewTextWidth width = [&](ViewFont font, std::string_view text) {
        const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        return (font == ViewFont::A ? metricsA : metricsB).horizontalAdvance(string);
    };
    for (const PlaceRect& area : ViewTextAreas(viewRect.width(), viewRect.height(), width))
        scene.keepClear.push_back(Moved(area, viewRect.x(), viewRect.y()));
    const SonarSettings& settings = doc_.State().settings;
    scene.picture
        = Moved(ViewPicture(viewRect.width(), viewRect.height(), settings.zoom, settings.sectorMode),
            viewRect.x(), viewRect.y());
    // The other floating window where it was put (it comes back there), and
    // a toolbar the operator tore off.
    for (QWidget* other :
        {panel_ ? static_cast<QWidget*>(panel_->Panel()) : nullptr, static_cast<QWidget*>(diag_)})
        if (other != nullptr && other != window && other->property(kPlacedProperty).toBool())
            scene.keepClear.push_back(ToPlace(other->frameGeometry()));
    for (const QToolBar* bar : frame_.findChildren<QToolBar*>())
        if (bar->isFloating() && bar->isVisible())
            scene.keepClear.push_back(ToPlace(bar->frameGeometry()));
    return scene;
}

void FloatingWindows::PlaceFirst(QWidget* window)
{
    const bool shown = window->isVisible();
    const QSize outer = shown ? window->frameGeometry().size() : OuterSize(window, frame_);
    const PlaceRect at = FirstFloatingPlace(SceneFor(window), outer.width(), outer.height());
    // Before its first show the window's frame is not known yet and a move
    // places the client area: leave room for the frame the window manager
    // adds, as it does to the main window. Once shown, a move places the frame.
    const QPoint frameOffset
        = shown ? QPoint() : frame_.geometry().topLeft() - frame_.frameGeometry().topLeft();
    window->move(at.x + frameOffset.x(), at.y + frameOffset.y());
    window->setProperty(kPlacedProperty, true);
}

bool FloatingWindows::FrameExposed() const
{
    const QWindow* handle = frame_.windowHandle();
    return handle != nullptr && handle->isExposed();
}

void FloatingWindows::SetFloatingShown(QWidget* window, bool shown)
{
    if (!shown) {
        window->hide();
        return;
    }
    if (!window->property(kPlacedProperty).toBool()) {
        PlaceFirst(window);
        window->show();
        // Shown with the main window (start-up): its menus, bars and view
        // take their final places only once it is on the screen, so the
        // window is placed again then.
        if (!FrameExposed()) {
            if (QWindow* handle = frame_.windowHandle())
                handle->installEventFilter(this);
            placeAgain_.push_back(window);
        }
        return;
    }
    // Where the operator left it, but on the screen (the screen or its
    // scale may have changed since). Moved once shown: a hidden window's
    // position and frame are not reliable on every window manager.
    window->show();
    const QRect outer = window->frameGeometry();
    const PlaceRect at = KeptOnScreen(ToPlace(outer), AvailableScreen(frame_));
    if (at.x != outer.x() || at.y != outer.y())
        window->move(at.x, at.y);
}

void FloatingWindows::PlaceAgain()
{
    const std::vector<QPointer<QWidget>> windows = std::move(placeAgain_);
    placeAgain_.clear();
    for (QWidget* window : windows)
        if (window != nullptr && window->isVisible())
            PlaceFirst(window);
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
        if (doc_.State().flags.playback)
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
    hooks.showKeyIn = [this](KeyInKind kind, const std::optional<std::string>& prompt) {
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
    // A window deleted while shown hides from inside its destructor: its
    // hide must not reach the command states, which would ask the half
    // destroyed window whether it is visible.
    if (panel_ && panel_->Panel() != nullptr)
        panel_->Panel()->removeEventFilter(this);
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
    if (watched == frame_.windowHandle() && event->type() == QEvent::Expose && !placeAgain_.empty()
        && FrameExposed()) {
        watched->removeEventFilter(this);
        // After the events that come with the exposure (sizes, frame extents).
        QTimer::singleShot(0, this, [this] { PlaceAgain(); });
    }
    if (watched == &frame_ && event->type() == QEvent::WindowActivate && keyIn_ != nullptr)
        keyIn_->hide();
    // A floating window shown or hidden (by its close box too): the check of
    // the command that shows it follows.
    if (watched != &frame_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        doc_.NotifyStateChange();
    return QObject::eventFilter(watched, event);
}

} // namespace velmaris
