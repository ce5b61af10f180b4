#include "app/ui/main_frame.h"

#include "app/commands.h"
#include "app/ui/toolbar_icons.h"
#include "platform/edition.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace tw {
namespace {

const char *const kCommandProperty = "tillwise_command";

QString qt_text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A prompt is the status-bar text, then optionally "\n" and the tool tip.
QString status_part(std::string_view prompt)
{
    return qt_text(prompt.substr(0, prompt.find('\n')));
}

QString tip_part(std::string_view prompt)
{
    const std::size_t n = prompt.find('\n');
    return n == std::string_view::npos ? status_part(prompt) : qt_text(prompt.substr(n + 1));
}

int command_of(const QAction *action)
{
    return action->property(kCommandProperty).toInt();
}

bool is_frame_command(int command)
{
    switch (command) {
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
    case ID_WINDOW_CASCADE:
    case ID_WINDOW_TILE_HORZ:
    case ID_WINDOW_ARRANGE: return true;
    default: return false;
    }
}

} // namespace

CMainFrame::CMainFrame(QWidget *parent)
    : QMainWindow(parent)
    , area_(new QMdiArea(this))
{
    setWindowTitle(qt_text(app_title()));
    setCentralWidget(area_);
    build_toolbar();
    build_status_bar();
    for (const int resource : {kMainMenu, kLocationMenu, kFieldMenu})
        build_menu_bar(resource);
    build_accelerators();
    show_menu_bar(kMainMenu);
    connect(area_, &QMdiArea::subWindowActivated, this, &CMainFrame::on_window_activated);
    qApp->installEventFilter(this);
    update_command_states();
}

CMainFrame::~CMainFrame()
{
    // The area tells of windows going while the frame is taken down; nothing is left to update.
    qApp->removeEventFilter(this);
    area_->disconnect(this);
}

QAction *CMainFrame::command_action(int command, const QString &text, const QString &prompt,
                                    QObject *parent)
{
    auto *action = new QAction(text, parent);
    action->setProperty(kCommandProperty, command);
    action->setStatusTip(prompt);
    if (command == ID_VIEW_TOOLBAR || command == ID_VIEW_STATUS_BAR)
        action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, command] { dispatch(command); });
    command_actions_.push_back(action);
    return action;
}

void CMainFrame::build_menu_bar(int resource)
{
    std::vector<QAction *> &bar = bars_[resource];
    QMenu *help = nullptr;
    for (const MenuEntry &entry : menu_bar(resource)) {
        if (entry.items.empty()) {
            if (entry_text(entry).empty())
                continue;
            bar.push_back(command_action(entry.command, qt_text(entry_text(entry)),
                                         status_part(entry_prompt(entry)), this));
            continue;
        }
        QMenu *menu = build_menu(entry);
        if (entry.text == kHelpMenuText)
            help = menu;
        bar.push_back(menu->menuAction());
    }
    if (!help) {
        help = new QMenu(qt_text(kHelpMenuText), this);
        bar.push_back(help->menuAction());
    }
    // Every Help menu starts with the welcome window, where the edition has one.
    if (!edition().tip_window)
        return;
    QAction *first = help->actions().isEmpty() ? nullptr : help->actions().front();
    help->insertAction(first, command_action(ID_TIP_OF_THE_DAY, qt_text(kWelcomeMenuText),
                                             status_part(command_prompt(ID_TIP_OF_THE_DAY)), help));
    help->insertSeparator(first);
}

QMenu *CMainFrame::build_menu(const MenuEntry &entry)
{
    auto *menu = new QMenu(qt_text(entry.text), this);
    for (const MenuEntry &item : entry.items) {
        if (item.command == kSeparator && item.items.empty()) {
            menu->addSeparator();
        } else if (!item.items.empty()) {
            menu->addMenu(build_menu(item));
        } else if (item.command == ID_FILE_MRU_FILE1) {
            QAction *placeholder = command_action(item.command, qt_text(item.text),
                                                  status_part(entry_prompt(item)), menu);
            menu->addAction(placeholder);
            recent_actions_.push_back(placeholder);
            for (int i = 1; i < 5; ++i) {
                QAction *more = command_action(item.command + i, QString(),
                                               status_part(entry_prompt(item)), menu);
                more->setVisible(false);
                menu->addAction(more);
                recent_actions_.push_back(more);
            }
        } else if (!entry_text(item).empty()) {
            menu->addAction(command_action(item.command, qt_text(entry_text(item)),
                                           status_part(entry_prompt(item)), menu));
        }
    }
    if (entry.text == "&Window")
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { fill_window_list(menu); });
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::update_command_states);
    return menu;
}

void CMainFrame::build_toolbar()
{
    toolbar_ = new QToolBar(QStringLiteral("Standard"), this);
    toolbar_->setObjectName(QStringLiteral("toolbar257"));
    toolbar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolbar_->setMovable(true);
    toolbar_->setFloatable(true);
    for (const int command : toolbar_commands()) {
        if (command == kSeparator) {
            toolbar_->addSeparator();
            continue;
        }
        const std::string_view prompt = command_prompt(command);
        QAction *action = command_action(command, tip_part(prompt), status_part(prompt), toolbar_);
        action->setIcon(toolbar_icon(command));
        action->setToolTip(tip_part(prompt));
        toolbar_->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, toolbar_);
}

void CMainFrame::build_status_bar()
{
    idle_ = new QLabel(qt_text(idle_text()));
    statusBar()->addWidget(idle_, 1);
    for (const char *text : {"CAP", "NUM", "SCRL"}) {
        auto *indicator = new QLabel(QString::fromLatin1(text));
        indicator->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        indicator->setEnabled(false);
        statusBar()->addPermanentWidget(indicator);
        indicators_.push_back(indicator);
    }
}

void CMainFrame::build_accelerators()
{
    for (const Accelerator &key : accelerators()) {
        QAction *&action = accelerators_[key.command];
        if (!action) {
            action = new QAction(this);
            action->setProperty(kCommandProperty, key.command);
            connect(action, &QAction::triggered, this,
                    [this, command = key.command] { dispatch(command); });
            addAction(action);
        }
        QList<QKeySequence> keys = action->shortcuts();
        keys << QKeySequence(qt_text(key.keys));
        action->setShortcuts(keys);
    }
}

void CMainFrame::show_menu_bar(int resource)
{
    if (resource == resource_)
        return;
    resource_ = resource;
    menuBar()->clear();
    for (QAction *action : bars_.at(resource))
        menuBar()->addAction(action);
}

void CMainFrame::on_window_activated(QMdiSubWindow *)
{
    DocumentFrame *frame = active_frame();
    show_menu_bar(frame ? frame->menu_resource() : kMainMenu);
    update_command_states();
}

void CMainFrame::update_caption()
{
    // Document windows may have no caption of their own: the main window's names the active one.
    QMdiSubWindow *window = active_frame() ? area_->currentSubWindow() : nullptr;
    if (!window) {
        setWindowTitle(qt_text(app_title()));
        setWindowModified(false);
        return;
    }
    setWindowTitle(qt_text(app_title()) + QStringLiteral(" - ") + window->windowTitle());
    setWindowModified(window->isWindowModified());
}

DocumentFrame *CMainFrame::active_frame() const
{
    const QMdiSubWindow *window = area_->currentSubWindow();
    return window ? qobject_cast<DocumentFrame *>(window->widget()) : nullptr;
}

bool CMainFrame::frame_handles(int command) const
{
    DocumentFrame *frame = active_frame();
    return frame && frame->handles_command(command);
}

bool CMainFrame::command_enabled(int command) const
{
    if (command == ID_NEXT_PANE || command == ID_PREV_PANE)
        return active_frame() != nullptr;
    return is_frame_command(command) || frame_handles(command) ||
           (app_target_ && app_target_->handles_command(command));
}

void CMainFrame::dispatch(int command)
{
    if (command == ID_NEXT_PANE || command == ID_PREV_PANE) {
        if (DocumentFrame *frame = active_frame())
            frame->next_pane(command == ID_NEXT_PANE);
        return;
    }
    switch (command) {
    case ID_VIEW_TOOLBAR: toolbar_->setVisible(!toolbar_->isVisible()); break;
    case ID_VIEW_STATUS_BAR: statusBar()->setVisible(!statusBar()->isVisible()); break;
    case ID_WINDOW_CASCADE: area_->cascadeSubWindows(); break;
    case ID_WINDOW_TILE_HORZ: area_->tileSubWindows(); break;
    case ID_WINDOW_ARRANGE: arrange_icons(); break;
    default:
        if (frame_handles(command))
            active_frame()->run_command(command);
        else if (app_target_ && app_target_->handles_command(command))
            app_target_->run_command(command);
        break;
    }
    update_command_states();
}

void CMainFrame::update_command_states()
{
    update_caption();
    for (QAction *action : command_actions_) {
        const int command = command_of(action);
        action->setEnabled(command_enabled(command));
        if (command == ID_VIEW_TOOLBAR)
            action->setChecked(!toolbar_->isHidden());
        else if (command == ID_VIEW_STATUS_BAR)
            action->setChecked(!statusBar()->isHidden());
    }
    for (auto &[command, action] : accelerators_)
        action->setEnabled(command_enabled(command));
    // The recent-file entries: the placeholder stays, greyed, while the list is empty.
    for (std::size_t i = 0; i < recent_actions_.size(); ++i) {
        QAction *action = recent_actions_[i];
        const std::size_t slot = i % 5;
        if (slot < recent_files_.size()) {
            action->setText(QStringLiteral("&%1 %2").arg(slot + 1).arg(
                QString::fromStdString(recent_files_[slot])));
            action->setVisible(true);
        } else {
            action->setText(slot == 0 ? QStringLiteral("Recent File") : QString());
            action->setVisible(slot == 0);
            action->setEnabled(false);
        }
    }
}

void CMainFrame::set_recent_files(const std::vector<std::string> &paths)
{
    recent_files_ = paths;
    update_command_states();
}

void CMainFrame::fill_window_list(QMenu *menu)
{
    for (QAction *action : menu->actions()) {
        if (action->property("window_entry").toBool())
            menu->removeAction(action);
    }
    const auto windows = area_->subWindowList();
    if (windows.isEmpty())
        return;
    menu->addSeparator()->setProperty("window_entry", true);
    int n = 1;
    for (QMdiSubWindow *window : windows) {
        QString title = window->windowTitle();
        title.replace(QStringLiteral("[*]"), window->isWindowModified() ? "*" : "");
        QAction *action = menu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(title));
        action->setProperty("window_entry", true);
        action->setCheckable(true);
        action->setChecked(window == area_->currentSubWindow());
        connect(action, &QAction::triggered, this,
                [this, window] { area_->setActiveSubWindow(window); });
    }
}

void CMainFrame::arrange_icons()
{
    // Minimized windows line up along the bottom of the area, left to right.
    int x = 0;
    for (QMdiSubWindow *window : area_->subWindowList()) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        window->move(x, area_->viewport()->height() - size.height());
        x += size.width();
    }
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (close_query_ && !close_query_())
        event->ignore();
    else
        event->accept();
}

bool CMainFrame::eventFilter(QObject *watched, QEvent *event)
{
    // A key press reaches the window first and then each widget it propagates to; count it once.
    if (event->type() == QEvent::KeyPress && watched->isWindowType())
        toggle_indicator(static_cast<QKeyEvent *>(event)->key());
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::toggle_indicator(int key)
{
    // Qt cannot read the state of the lock keys; the indicators follow their presses.
    const int index = key == Qt::Key_CapsLock     ? 0
                      : key == Qt::Key_NumLock    ? 1
                      : key == Qt::Key_ScrollLock ? 2
                                                  : -1;
    if (index >= 0)
        indicators_[static_cast<std::size_t>(index)]->setEnabled(
            !indicators_[static_cast<std::size_t>(index)]->isEnabled());
}

} // namespace tw
