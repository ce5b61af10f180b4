#pragma once

#include "app/help_topics.h"

#include <QTextBrowser>
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

namespace tw {

/// The folder of the user's guide: the installed one beside the program, else the sources'.
QString guide_folder();

/// Shows the guide's Markdown pages; every heading is an anchor that links and F1 can reach.
class GuideBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    explicit GuideBrowser(QWidget *parent = nullptr);

protected:
    void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override;

private:
    void anchor_headings();
    void fit_pictures();
};

/// Help > Tillwise Help: the guide with its contents (the pages and their sections) beside it.
/// One belongs to each window it was opened from, so that a modal dialog's help can be read
/// while the dialog stays open.
class CHelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CHelpWindow(QWidget *parent = nullptr);

    /// The help window of a top-level window, made on first use.
    static CHelpWindow &of(QWidget &window);

    void show_topic(const HelpTopic &topic);
    GuideBrowser *browser() const { return browser_; }
    QTreeWidget *contents() const { return contents_; }

private:
    void fill_contents();
    void open_item(QTreeWidgetItem *item);

    QTreeWidget *contents_;
    GuideBrowser *browser_;
};

/// Opens the guide at a topic, in the help window of the window `from` is in.
void show_help(QWidget &from, const HelpTopic &topic);

} // namespace tw
