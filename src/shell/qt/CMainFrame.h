#pragma once
// The station's main window: menu bar, toolbar, the mini settings bar and
// the playback bar (each one line under the toolbar), the status bar, the
// hot keys and the window title. It owns no sonar logic: every command ends
// in the CommandTarget, except the few the frame handles itself (Exit, the
// toolbar, status bar and Mini Settings Bar toggles).
//
// Ownership: the frame owns its bars and actions; it does not own the
// target, which must outlive it. User-interface thread only.

#include "shell/FrameRules.h"
#include "station/CommandTarget.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <vector>

class QAction;
class QMenu;
class QToolBar;

namespace velmaris {

class CPlaybackBar;
class CStatusPanes;

class CMainFrame : public QMainWindow, public CommandStateObserver {
    Q_OBJECT
public:
    explicit CMainFrame(CommandTarget& target, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The sonar view fills the client area; the frame takes ownership.
    void SetView(QWidget* view);

    // --- Commands ---
    // Runs command `id` as a menu click would: frame commands here, all
    // others on the target, and only while enabled. Then re-reads states.
    void DispatchCommand(int id);
    // The action of a menu item or toolbar button (nullptr if none).
    QAction* CommandAction(int id) const;
    // Gives a window that is shown modally its own copy of the hot keys
    // (non-modal windows already receive them from the frame).
    void InstallAccelerators(QWidget* window);
    // The target's word that states changed behind the frame's back (a link
    // came up, a playback started...): re-reads them all. Nothing polls.
    void CommandStatesChanged() override { RefreshCommandStates(); }

    // --- Bars ---
    // Shows and hides the bars for the mode just entered.
    void ApplyModeBars(OperatingMode mode);
    bool IsPlayingBack() const { return playingBack_; }
    // After a playback file was opened: playback bar in place of the mini
    // settings bar, slider 0..100 with ticks every 10, speed 0..12.
    void ShowPlaybackBar(int playbackSpeed, qint64 fileLength);
    // Moves the position slider (playback calls it after each record).
    void SetPositionSlider(int position);
    // Playback file length / 100, set by ShowPlaybackBar.
    qint64 FileStep() const { return fileStep_; }
    // Offset to seek to for the slider's current position.
    qint64 SliderSeekOffset() const;

    QToolBar* MainToolBar() const { return toolBar_; }
    QToolBar* MiniSettingsBarHost() const { return miniHost_; }
    QToolBar* PlaybackBarHost() const { return playbackHost_; }
    // The mini settings bar's fields and spins (the operator controls own
    // their rules); docked one line under the toolbar. The frame takes ownership.
    void SetMiniSettingsBar(QWidget* bar);
    QWidget* MiniSettingsBar() const { return miniBar_; }
    CPlaybackBar* PlaybackBar() const { return playbackBar_; }
    CStatusPanes* StatusPanes() const { return statusPanes_; }
    // Writes a status pane by id (read-outs: 2, 5, 7, 14, 16, 8).
    bool SetPaneText(int paneId, const QString& text);
    // What the message pane shows when no menu prompt does: "Ready", or a
    // notice the operator must act on (empty gives "Ready" back).
    void SetIdleMessage(const QString& text);

    // --- Title ---
    // Where the title rule reads the document's state; without a source the
    // frame counts as having no document and keeps its title.
    void SetTitleSource(std::function<TitleState()> source);
    // Applies the title rule now (also done after every size change).
    void UpdateWindowTitle();

public slots:
    // Re-reads enable and check states of every menu item and button.
    void RefreshCommandStates();

signals:
    // The frame is closing (Exit or close box); the document closes now.
    void frameClosing();
    // A file was dropped on the window (local files only, one signal each).
    void fileDropped(const QString& path);

protected:
    // A highlighted menu item's prompt goes to the message pane ("Ready"
    // again when it has none), the other panes staying as they are.
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    QMenu* createPopupMenu() override { return nullptr; }

private:
    QString IdleMessage() const;
    QAction* ActionFor(int id, const QString& text);
    void BuildMenus();
    void BuildToolBar();
    void BuildBars();
    void RefreshAction(QAction* action);
    void RefreshMenu(QMenu* menu);
    void SetBarVisible(QToolBar* bar, BarChange change);

    CommandTarget& target_;
    std::map<int, QAction*> actions_;
    std::vector<QAction*> hotKeys_;
    QToolBar* toolBar_ = nullptr;
    QToolBar* miniHost_ = nullptr;
    QToolBar* playbackHost_ = nullptr;
    QWidget* miniBar_ = nullptr;
    CPlaybackBar* playbackBar_ = nullptr;
    CStatusPanes* statusPanes_ = nullptr;
    QString idleMessage_;
    std::function<TitleState()> titleSource_;
    bool playingBack_ = false;
    qint64 fileStep_ = 0;
};

} // namespace velmaris
