#include "shell/qt/FloatingWindows.h"

#include "controls/qt/CKeyInDlg.h"
#include "controls/qt/CMiniSettingsBar.h"
#include "controls/qt/CSoundVDlg.h"
#include "controls/qt/SettingsPanelWindow.h"
#include "shell/qt/AccessPoints.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/StationHooks.h"
#include "shell/qt/StationUi.h"
#include "station/CVelmarisDoc.h"
#include "station/DocumentCommands.h"

#include <QEvent>

namespace velmaris {

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

void FloatingWindows::Plug(StationUi& ui, StationHooks& hooks, DocumentCommands& commands)
{
    FloatingHooks& floating = ui.Hooks();
    floating.createFloatingWindows = [this] { CreateKeyIn(); };
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
        panel_->SetShown(show);
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
