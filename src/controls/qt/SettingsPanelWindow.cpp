#include "controls/qt/SettingsPanelWindow.h"

namespace velmaris {

SettingsPanelWindow::SettingsPanelWindow(
    SonarSettings& settings, CommandMessage& message, SettingsOperations& operations, QWidget* mainWindow)
    : settings_(settings)
    , message_(message)
    , operations_(operations)
    , mainWindow_(mainWindow)
{ }

SettingsPanelWindow::~SettingsPanelWindow()
{
    Destroy();
}

void SettingsPanelWindow::Create()
{
    if (panel_ != nullptr)
        return;
    panel_ = new CCtrlPanelDlg(settings_, message_, operations_, mainWindow_);
    if (onCreated_)
        onCreated_(*panel_);
}

bool SettingsPanelWindow::IsShown() const
{
    return panel_ != nullptr && panel_->isVisible();
}

void SettingsPanelWindow::SetShown(bool shown)
{
    if (panel_ != nullptr)
        panel_->setVisible(shown);
}

void SettingsPanelWindow::RefreshDisplay()
{
    if (panel_ != nullptr)
        panel_->Refresh();
}

void SettingsPanelWindow::Refresh()
{
    if (panel_ == nullptr)
        return;
    operations_.ApplyAutomaticValues();
    panel_->Refresh();
}

void SettingsPanelWindow::Destroy()
{
    // The panel may already be gone with its owner, the main window.
    delete panel_.data();
    panel_ = nullptr;
}

} // namespace velmaris
