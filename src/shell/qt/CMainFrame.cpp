#include "shell/qt/CMainFrame.h"

#include "shell/ControlIds.h"
#include "shell/FrameLayout.h"
#include "shell/MenuTree.h"
#include "shell/qt/CPlaybackBar.h"
#include "shell/qt/CStatusPanes.h"
#include "shell/qt/HotKeys.h"
#include "shell/qt/IconFactory.h"
#include "station/CommandIds.h"
#include "station/PlaybackBarUi.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QUrl>

namespace velmaris {

namespace {

QString FromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CMainFrame::CMainFrame(CommandTarget& target, QWidget* parent)
    : QMainWindow(parent)
    , target_(target)
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("Velmaris"));
    setDockNestingEnabled(false);
    setAcceptDrops(true);

    auto* placeholder = new QWidget(this);
    placeholder->setObjectName(QStringLiteral("viewPlaceholder"));
    setCentralWidget(placeholder);

    BuildMenus();
    BuildToolBar();
    BuildBars();

    statusPanes_ = new CStatusPanes(this);
    setStatusBar(statusPanes_);

    hotKeys_ = CreateAcceleratorActions(
        this, Qt::ApplicationShortcut, this, [this](int id) { DispatchCommand(id); });

    // After creation: toolbar and mini settings bar shown, playback bar hidden.
    playbackHost_->hide();

    // From here on the states are re-read when the target says they changed
    // (CommandStatesChanged), after every command and when a menu opens.
    RefreshCommandStates();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::SetView(QWidget* view)
{
    if (view != nullptr)
        setCentralWidget(view);
}

QAction* CMainFrame::ActionFor(int id, const QString& text)
{
    if (const auto it = actions_.find(id); it != actions_.end())
        return it->second;
    auto* action = new QAction(text, this);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    action->setData(id);
    action->setCheckable(HasCheckRule(id));
    action->setIconVisibleInMenu(false);
    if (HasCommandIcon(id))
        action->setIcon(CommandIcon(id));
    if (const std::optional<CommandPrompt> prompt = PromptFor(id)) {
        action->setStatusTip(FromView(prompt->prompt));
        action->setToolTip(FromView(prompt->toolTip));
    }
    connect(action, &QAction::triggered, this, [this, id] { DispatchCommand(id); });
    actions_[id] = action;
    return action;
}

void CMainFrame::BuildMenus()
{
    auto* keyGuard = new MenuKeyGuard(this);
    const std::function<void(QMenu*, const std::vector<MenuItem>&)> fill
        = [&](QMenu* menu, const std::vector<MenuItem>& items) {
              menu->installEventFilter(keyGuard);
              connect(menu, &QMenu::aboutToShow, this, [this, menu] { RefreshMenu(menu); });
              for (const MenuItem& item : items) {
                  switch (item.kind) {
                  case MenuItem::Kind::Separator:
                      menu->addSeparator();
                      break;
                  case MenuItem::Kind::Command:
                      menu->addAction(ActionFor(item.id, QString::fromStdString(item.text)));
                      break;
                  case MenuItem::Kind::Submenu:
                      fill(menu->addMenu(QString::fromStdString(item.text)), item.items);
                      break;
                  }
              }
          };
    for (const Menu& menu : MainMenuBar())
        fill(menuBar()->addMenu(QString::fromStdString(menu.title)), menu.items);
}

void CMainFrame::BuildToolBar()
{
    toolBar_ = new QToolBar(QStringLiteral("Main Toolbar"), this);
    toolBar_->setObjectName(QStringLiteral("mainToolbar"));
    toolBar_->setProperty("barId", cmd::kToolbarToggle);
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->setMovable(true);
    toolBar_->setFloatable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    for (const ToolbarButton& button : ToolbarButtons()) {
        QAction* action = ActionFor(button.id, FromView(button.name));
        toolBar_->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
}

void CMainFrame::BuildBars()
{
    const auto makeHost = [this](const QString& name, int barId, QWidget* fields) {
        auto* host = new QToolBar(name, this);
        host->setObjectName(name);
        host->setProperty("barId", barId);
        host->setMovable(false);
        host->setFloatable(false);
        host->setAllowedAreas(Qt::TopToolBarArea);
        if (fields != nullptr)
            host->addWidget(fields);
        addToolBarBreak(Qt::TopToolBarArea);
        addToolBar(Qt::TopToolBarArea, host);
        return host;
    };
    miniHost_ = makeHost(QStringLiteral("miniSettingsBar"), ctl::kMiniSettingsBar, nullptr);
    playbackBar_ = new CPlaybackBar;
    playbackHost_ = makeHost(QStringLiteral("playbackBar"), ctl::kPlaybackBar, playbackBar_);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            emit fileDropped(url.toLocalFile());
    }
    event->acceptProposedAction();
}

void CMainFrame::SetMiniSettingsBar(QWidget* bar)
{
    miniBar_ = bar;
    miniHost_->addWidget(bar);
}

QAction* CMainFrame::CommandAction(int id) const
{
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::DispatchCommand(int id)
{
    switch (id) {
    case cmd::kExit:
        close();
        return;
    case cmd::kToolbarToggle:
        toolBar_->setVisible(toolBar_->isHidden());
        break;
    case cmd::kStatusBarToggle:
        statusPanes_->setVisible(statusPanes_->isHidden());
        break;
    case cmd::kMiniSettingsBar:
        if (MiniSettingsBarState(playingBack_, !miniHost_->isHidden()).enabled)
            miniHost_->setVisible(miniHost_->isHidden());
        break;
    default:
        // A grey command never runs, whether it came from a menu, a button
        // or a hot key.
        if (target_.IsEnabled(id))
            target_.Execute(id);
        break;
    }
    RefreshCommandStates();
}

void CMainFrame::RefreshAction(QAction* action)
{
    const int id = action->data().toInt();
    bool enabled = true;
    bool checked = false;
    switch (id) {
    case cmd::kExit:
        break;
    case cmd::kToolbarToggle:
        checked = !toolBar_->isHidden();
        break;
    case cmd::kStatusBarToggle:
        checked = !statusPanes_->isHidden();
        break;
    case cmd::kMiniSettingsBar: {
        const CommandState state = MiniSettingsBarState(playingBack_, !miniHost_->isHidden());
        enabled = state.enabled;
        checked = state.checked;
        break;
    }
    default:
        enabled = target_.IsEnabled(id);
        checked = target_.IsChecked(id);
        break;
    }
    action->setEnabled(enabled);
    if (action->isCheckable())
        action->setChecked(checked);
}

void CMainFrame::RefreshMenu(QMenu* menu)
{
    for (QAction* action : menu->actions())
        if (!action->isSeparator() && action->menu() == nullptr)
            RefreshAction(action);
}

void CMainFrame::RefreshCommandStates()
{
    for (const auto& [id, action] : actions_)
        RefreshAction(action);
}

void CMainFrame::InstallAccelerators(QWidget* window)
{
    if (window == nullptr)
        return;
    new ModalAcceleratorGuard(window,
        CreateAcceleratorActions(window, Qt::WindowShortcut, this, [this](int id) { DispatchCommand(id); }));
}

void CMainFrame::SetBarVisible(QToolBar* bar, BarChange change)
{
    if (change == BarChange::Show)
        bar->show();
    else if (change == BarChange::Hide)
        bar->hide();
}

void CMainFrame::ApplyModeBars(OperatingMode mode)
{
    playingBack_ = mode == OperatingMode::Playback;
    const BarPicture picture = BarsForMode(mode);
    SetBarVisible(toolBar_, picture.toolbar);
    SetBarVisible(miniHost_, picture.miniSettingsBar);
    SetBarVisible(playbackHost_, picture.playbackBar);
    RefreshCommandStates();
}

void CMainFrame::ShowPlaybackBar(int playbackSpeed, qint64 fileLength)
{
    ApplyModeBars(OperatingMode::Playback);
    playbackBar_->SetPositionRange(kPositionSliderMin, kPositionSliderMax);
    playbackBar_->SetTickInterval(kPositionSliderTicks);
    playbackBar_->SetSpeedRange(kPlaybackSpeedMin, kPlaybackSpeedMax);
    playbackBar_->SetSpeed(playbackSpeed);
    fileStep_ = PlaybackFileStep(fileLength);
}

void CMainFrame::SetPositionSlider(int position)
{
    playbackBar_->SetPosition(position);
    playbackBar_->SetTickInterval(kPositionSliderTicks);
}

qint64 CMainFrame::SliderSeekOffset() const
{
    return velmaris::SliderSeekOffset(playbackBar_->Position(), playbackBar_->PositionMinimum(),
        playbackBar_->PositionMaximum(), fileStep_);
}

bool CMainFrame::SetPaneText(int paneId, const QString& text)
{
    return statusPanes_->SetPaneText(paneId, text);
}

void CMainFrame::SetTitleSource(std::function<TitleState()> source)
{
    titleSource_ = std::move(source);
}

void CMainFrame::UpdateWindowTitle()
{
    const TitleState state = titleSource_ ? titleSource_() : TitleState {};
    if (const auto title = FrameTitle(state))
        setWindowTitle(QString::fromStdString(*title));
}

QString CMainFrame::IdleMessage() const
{
    return idleMessage_.isEmpty() ? FromView(velmaris::StatusPanes().front().text) : idleMessage_;
}

void CMainFrame::SetIdleMessage(const QString& text)
{
    if (text == idleMessage_)
        return;
    idleMessage_ = text;
    statusPanes_->SetPaneText(kPaneMessage, IdleMessage());
}

bool CMainFrame::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip && statusPanes_ != nullptr) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        // The message pane comes first; its initial text is the idle "Ready".
        statusPanes_->SetPaneText(kPaneMessage, tip.isEmpty() ? IdleMessage() : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    UpdateWindowTitle();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    emit frameClosing();
    QMainWindow::closeEvent(event);
}

} // namespace velmaris
