#pragma once

#include "platform/ui/document_frame.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace tw {

/// The program's main window: the multiple-document area that holds every location and field
/// window, the menu bar of the active window, the tool bar and the status bar. Commands go to
/// the active document window first, then to the application.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    explicit CMainFrame(QWidget *parent = nullptr);
    ~CMainFrame() override;

    void set_app_target(CommandTarget *target) { app_target_ = target; }
    /// Asked before the main window closes (the program ends); false keeps it open.
    void set_close_query(std::function<bool()> query) { close_query_ = std::move(query); }

    QMdiArea *mdi_area() const { return area_; }
    QToolBar *tool_bar() const { return toolbar_; }
    QLabel *idle_label() const { return idle_; }
    /// The key indicators "CAP", "NUM", "SCRL".
    std::vector<QLabel *> indicators() const { return indicators_; }
    /// The menu bar in force (257 with no document window, else the window's).
    int menu_resource() const { return resource_; }
    /// The entries of a menu bar, built once: the actions of its pull-down menus, and of the
    /// commands on the bar itself.
    const std::vector<QAction *> &bar_of(int resource) const { return bars_.at(resource); }
    /// The accelerator-table actions, one per command.
    const std::map<int, QAction *> &accelerator_actions() const { return accelerators_; }

    /// Carries out a command as if its menu item had been chosen.
    void dispatch(int command);
    bool command_enabled(int command) const;
    void update_command_states();
    void set_recent_files(const std::vector<std::string> &paths);
    /// The document window the commands go to.
    DocumentFrame *active_frame() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build_menu_bar(int resource);
    QMenu *build_menu(const struct MenuEntry &entry);
    QAction *command_action(int command, const QString &text, const QString &prompt,
                            QObject *parent);
    void build_toolbar();
    void build_status_bar();
    void build_accelerators();
    void show_menu_bar(int resource);
    void on_window_activated(QMdiSubWindow *window);
    void update_caption();
    void fill_window_list(QMenu *menu);
    bool frame_handles(int command) const;
    void arrange_icons();
    void toggle_indicator(int key);

    QMdiArea *area_;
    QToolBar *toolbar_ = nullptr;
    QLabel *idle_ = nullptr;
    std::vector<QLabel *> indicators_;
    CommandTarget *app_target_ = nullptr;
    std::function<bool()> close_query_;
    int resource_ = 0;
    std::map<int, std::vector<QAction *>> bars_;
    std::vector<QAction *> command_actions_;
    std::vector<QAction *> recent_actions_;
    std::map<int, QAction *> accelerators_;
    std::vector<std::string> recent_files_;
};

} // namespace tw
