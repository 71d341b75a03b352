#include "app/CMainFrame.h"

#include "app/CPlaybackBar.h"
#include "app/CStatusPanes.h"
#include "app/HotKeys.h"
#include "app/IconFactory.h"
#include "document/CommandIds.h"
#include "document/ControlIds.h"
#include "document/FrameLayout.h"
#include "document/MenuTree.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace velmaris {

namespace {

// The toolbar buttons' states are re-read this often while the frame is
// shown, so a state the document changed on its own shows without delay.
constexpr int kToolbarRefreshMs = 250;

QString FromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CMainFrame::CMainFrame(CommandTarget& target, QWidget* parent)
    : QMainWindow(parent)
    , m_target(target)
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

    m_statusPanes = new CStatusPanes(this);
    setStatusBar(m_statusPanes);

    m_hotKeys = CreateAcceleratorActions(
        this, Qt::ApplicationShortcut, this, [this](int id) { DispatchCommand(id); });

    // After creation: toolbar and mini settings bar shown, playback bar hidden.
    m_playbackHost->hide();

    m_toolbarRefresh = new QTimer(this);
    m_toolbarRefresh->setInterval(kToolbarRefreshMs);
    connect(m_toolbarRefresh, &QTimer::timeout, this, [this] {
        if (isVisible())
            for (QAction* action : m_toolBar->actions())
                RefreshAction(action);
    });
    m_toolbarRefresh->start();
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
    if (const auto it = m_actions.find(id); it != m_actions.end())
        return it->second;
    auto* action = new QAction(text, this);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    action->setData(id);
    action->setCheckable(HasCheckRule(id));
    action->setIconVisibleInMenu(false);
    if (HasCommandIcon(id))
        action->setIcon(CommandIcon(id));
    connect(action, &QAction::triggered, this, [this, id] { DispatchCommand(id); });
    m_actions[id] = action;
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
    m_toolBar = new QToolBar(QStringLiteral("Main Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("mainToolbar"));
    m_toolBar->setProperty("barId", cmd::kToolbarToggle);
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (const ToolbarButton& button : ToolbarButtons()) {
        QAction* action = ActionFor(button.id, FromView(button.name));
        m_toolBar->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
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
    m_miniHost = makeHost(QStringLiteral("miniSettingsBar"), ctl::kMiniSettingsBar, nullptr);
    m_playbackBar = new CPlaybackBar;
    m_playbackHost = makeHost(QStringLiteral("playbackBar"), ctl::kPlaybackBar, m_playbackBar);
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
    m_miniBar = bar;
    m_miniHost->addWidget(bar);
}

QAction* CMainFrame::CommandAction(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

bool CMainFrame::IsFrameCommand(int id) const
{
    return id == cmd::kExit || id == cmd::kToolbarToggle || id == cmd::kStatusBarToggle
        || id == cmd::kMiniSettingsBar;
}

void CMainFrame::DispatchCommand(int id)
{
    switch (id) {
    case cmd::kExit:
        close();
        return;
    case cmd::kToolbarToggle:
        m_toolBar->setVisible(m_toolBar->isHidden());
        break;
    case cmd::kStatusBarToggle:
        m_statusPanes->setVisible(m_statusPanes->isHidden());
        break;
    case cmd::kMiniSettingsBar:
        if (MiniSettingsBarState(m_playingBack, !m_miniHost->isHidden()).enabled)
            m_miniHost->setVisible(m_miniHost->isHidden());
        break;
    default:
        // A grey command never runs, whether it came from a menu, a button
        // or a hot key.
        if (m_target.IsEnabled(id))
            m_target.Execute(id);
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
        checked = !m_toolBar->isHidden();
        break;
    case cmd::kStatusBarToggle:
        checked = !m_statusPanes->isHidden();
        break;
    case cmd::kMiniSettingsBar: {
        const CommandState state = MiniSettingsBarState(m_playingBack, !m_miniHost->isHidden());
        enabled = state.enabled;
        checked = state.checked;
        break;
    }
    default:
        enabled = m_target.IsEnabled(id);
        checked = m_target.IsChecked(id);
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
    for (const auto& [id, action] : m_actions)
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
    m_playingBack = mode == OperatingMode::Playback;
    const BarPicture picture = BarsForMode(mode);
    SetBarVisible(m_toolBar, picture.toolbar);
    SetBarVisible(m_miniHost, picture.miniSettingsBar);
    SetBarVisible(m_playbackHost, picture.playbackBar);
    RefreshCommandStates();
}

void CMainFrame::ShowPlaybackBar(int playbackSpeed, qint64 fileLength)
{
    ApplyModeBars(OperatingMode::Playback);
    m_playbackBar->SetPositionRange(kPositionSliderMin, kPositionSliderMax);
    m_playbackBar->SetTickInterval(kPositionSliderTicks);
    m_playbackBar->SetSpeedRange(kPlaybackSpeedMin, kPlaybackSpeedMax);
    m_playbackBar->SetSpeed(playbackSpeed);
    m_fileStep = PlaybackFileStep(fileLength);
}

void CMainFrame::SetPositionSlider(int position)
{
    m_playbackBar->SetPosition(position);
    m_playbackBar->SetTickInterval(kPositionSliderTicks);
}

qint64 CMainFrame::SliderSeekOffset() const
{
    return velmaris::SliderSeekOffset(m_playbackBar->Position(), m_playbackBar->PositionMinimum(),
        m_playbackBar->PositionMaximum(), m_fileStep);
}

bool CMainFrame::SetPaneText(int paneId, const QString& text)
{
    return m_statusPanes->SetPaneText(paneId, text);
}

void CMainFrame::SetTitleSource(std::function<TitleState()> source)
{
    m_titleSource = std::move(source);
}

void CMainFrame::UpdateWindowTitle()
{
    const TitleState state = m_titleSource ? m_titleSource() : TitleState {};
    if (const auto title = FrameTitle(state))
        setWindowTitle(QString::fromStdString(*title));
}

void CMainFrame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    UpdateWindowTitle();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    m_toolbarRefresh->stop();
    emit frameClosing();
    QMainWindow::closeEvent(event);
}

} // namespace velmaris
