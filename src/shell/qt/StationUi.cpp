#include "shell/qt/StationUi.h"

#include "image/qt/CVelmarisView.h"
#include "shell/FrameLayout.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/CStatusPanes.h"

#include <QToolBar>

namespace velmaris {

void StationUi::Attach(CVelmarisDoc* doc, CMainFrame* frame, CVelmarisView* view)
{
    doc_ = doc;
    frame_ = frame;
    view_ = view;
}

void StationUi::UpdateAllViews()
{
    if (view_ != nullptr)
        view_->OnUpdate(0);
}

bool StationUi::FrameAwaited() const
{
    return view_ != nullptr && view_->FramePending();
}

void StationUi::RepaintAllViews()
{
    if (view_ != nullptr)
        view_->repaint();
}

void StationUi::RefreshStatusLine()
{
    if (frame_ == nullptr || doc_ == nullptr)
        return;
    const PingRecord& ping = doc_->State().ping;
    frame_->SetPaneText(kPaneDateTime, QString::fromStdString(ping.date + "   " + ping.time));
    const SonarState& state = doc_->State();
    const bool waitsForChoice
        = !doc_->Cycle().HeadChosen() && !state.flags.playback && state.settings.udpMode == 0;
    frame_->SetIdleMessage(
        waitsForChoice ? QString::fromStdString(HeadNotChosenStatus(state.settings.sonarType)) : QString());
}

void StationUi::RefreshCursorReadouts()
{
    if (frame_ == nullptr || doc_ == nullptr || view_ == nullptr)
        return;
    const SonarSettings& settings = doc_->State().settings;
    const ReadoutTexts texts = FormatReadouts(view_->Reading(), settings.metricScale, settings.sectorMode);
    frame_->SetPaneText(kPaneTargetSize, QString::fromStdString(texts.targetSize));
    frame_->SetPaneText(kPaneRange, QString::fromStdString(texts.range));
    frame_->SetPaneText(kPaneBearing, QString::fromStdString(texts.bearing));
    frame_->SetPaneText(kPaneHorizontal, QString::fromStdString(texts.horizontal));
    frame_->SetPaneText(kPaneVertical, QString::fromStdString(texts.vertical));
    // Where the cursor lies, when the ping on screen has a position and a heading.
    if (CStatusPanes* panes = frame_->StatusPanes()) {
        const auto place = ScreenPlace(
            doc_->ScreenNavigation(), settings, view_->Reading().range, view_->Reading().bearing);
        if (place)
            panes->SetPositionText(QString::fromStdString(PositionText(*place)));
        else
            panes->HidePositionPane();
    }
    RefreshStatusLine();
}

void StationUi::SetWindowTitle(const std::string& title)
{
    if (frame_ != nullptr)
        frame_->setWindowTitle(QString::fromStdString(title));
}

void StationUi::SetControlBars(ControlBars bars)
{
    if (frame_ == nullptr)
        return;
    switch (bars) {
    case ControlBars::RealTime:
        frame_->ApplyModeBars(OperatingMode::RealTime);
        break;
    case ControlBars::Udp:
        Call(hooks_.hideSettingsPanel); // its values mean nothing to datagrams
        frame_->ApplyModeBars(OperatingMode::Udp);
        break;
    case ControlBars::Playback:
        frame_->ApplyModeBars(OperatingMode::Playback);
        break;
    }
}

void StationUi::HidePlaybackProgress()
{
    if (frame_ != nullptr && frame_->PlaybackBarHost() != nullptr)
        frame_->PlaybackBarHost()->hide();
}

ViewStatus StationUi::Status() const
{
    if (doc_ == nullptr)
        return {};
    ViewStatus status = doc_->Status();
    status.colorIndicator = hooks_.colorIndicator ? hooks_.colorIndicator() : true;
    return status;
}

} // namespace velmaris
