#pragma once
// The file dialogs and the playback bar of recording and playback, on Qt:
// QFileDialog for the save, open and folder dialogs, and the main frame's
// playback bar, whose slider and speed spin report back to the playback.
// User-interface thread only; holds references to the frame and the document.

#include "station/FileDialogs.h"
#include "station/PlaybackBarUi.h"

#include <QObject>
#include <functional>

namespace velmaris {

class CMainFrame;
class CVelmarisDoc;

class QtFileWindows final : public QObject, public FileDialogs, public PlaybackBarUi {
public:
    QtFileWindows(CMainFrame& frame, CVelmarisDoc& doc);
    // How the settings panel is hidden when the playback bar comes up.
    void SetPanelHider(std::function<void()> hide) { hidePanel_ = std::move(hide); }

    std::string AskSaveFile(const SaveDialogRequest& request) override;
    std::string AskOpenFile(const OpenDialogRequest& request) override;
    std::string AskFolder(const FolderDialogRequest& request) override;

    void ShowPlaybackBar(const PlaybackBarSetup& setup) override;
    void SetPositionSlider(int position) override;
    void SetSpeed(int speed) override;

private:
    CMainFrame& frame_;
    CVelmarisDoc& doc_;
    std::function<void()> hidePanel_;
};

} // namespace velmaris
