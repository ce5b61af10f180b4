#include "app/ui/help_window.h"

#include "app/commands.h"
#include "platform/ui/dialog_fields.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QSplitter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tw {
namespace {

// Screenshots are taken at a large window size; wider pictures would not fit the page.
constexpr int kPictureWidth = 760;

QUrl page_url(std::string_view file, std::string_view anchor)
{
    QUrl url = QUrl::fromLocalFile(QDir(guide_folder()).filePath(qt_text(file)));
    if (!anchor.empty())
        url.setFragment(qt_text(anchor));
    return url;
}

QString page_text(std::string_view file)
{
    QFile page(QDir(guide_folder()).filePath(qt_text(file)));
    return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

QToolButton *tool_button(const QString &text, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setText(text);
    button->setAutoRaise(true);
    return button;
}

} // namespace

QString guide_folder()
{
    // Installed: <prefix>/bin/tillwise and <prefix>/share/tillwise/guide.
    const QDir installed(QCoreApplication::applicationDirPath() +
                         QStringLiteral("/../share/tillwise/guide"));
    if (installed.exists(QStringLiteral("index.md")))
        return installed.canonicalPath();
    return QStringLiteral(TILLWISE_GUIDE_SOURCE_DIR);
}

GuideBrowser::GuideBrowser(QWidget *parent)
    : QTextBrowser(parent)
{
    setOpenExternalLinks(true);
}

void GuideBrowser::doSetSource(const QUrl &name, QTextDocument::ResourceType type)
{
    const QUrl target = source().resolved(name);
    const bool new_page =
        target.adjusted(QUrl::RemoveFragment) != source().adjusted(QUrl::RemoveFragment);
    QTextBrowser::doSetSource(target, type);
    // A new page's anchor only exists once its headings carry theirs.
    if (new_page) {
        anchor_headings();
        fit_pictures();
        if (target.hasFragment())
            scrollToAnchor(target.fragment());
    }
}

void GuideBrowser::anchor_headings()
{
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0)
            continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat anchor;
        anchor.setAnchor(true);
        anchor.setAnchorNames({qt_text(heading_anchor(block.text().toStdString()))});
        cursor.mergeCharFormat(anchor);
    }
}

void GuideBrowser::fit_pictures()
{
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat picture = fragment.charFormat().toImageFormat();
            const QString file = source().resolved(QUrl(picture.name())).toLocalFile();
            const QSize size = QImageReader(file).size();
            if (size.width() <= kPictureWidth)
                continue;
            picture.setWidth(kPictureWidth);
            picture.setHeight(double(size.height()) * kPictureWidth / size.width());
            QTextCursor cursor(document());
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(picture);
        }
    }
}

CHelpWindow::CHelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , contents_(new QTreeWidget(this))
    , browser_(new GuideBrowser(this))
{
    setWindowTitle(qt_text(app_title()) + QStringLiteral(" Help"));
    contents_->setHeaderHidden(true);
    contents_->setRootIsDecorated(true);
    auto *back = tool_button(QStringLiteral("Back"), this);
    auto *forward = tool_button(QStringLiteral("Forward"), this);
    auto *home = tool_button(QStringLiteral("Contents"), this);
    connect(back, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    connect(home, &QToolButton::clicked, this, [this] {
        show_topic({guide_pages().front().file, {}});
    });
    back->setEnabled(false);
    forward->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    for (QToolButton *button : {back, forward, home})
        buttons->addWidget(button);
    buttons->addStretch(1);
    auto *split = new QSplitter(this);
    split->addWidget(contents_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 1);
    split->setSizes({260, 740});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(split, 1);
    resize(1000, 720);
    fill_contents();
    connect(contents_, &QTreeWidget::itemActivated, this, &CHelpWindow::open_item);
    connect(contents_, &QTreeWidget::itemClicked, this, &CHelpWindow::open_item);
}

CHelpWindow &CHelpWindow::of(QWidget &window)
{
    QWidget *top = window.window();
    if (auto *help = qobject_cast<CHelpWindow *>(top))
        return *help;
    if (auto *help = top->findChild<CHelpWindow *>(QString(), Qt::FindDirectChildrenOnly))
        return *help;
    return *new CHelpWindow(top);
}

void CHelpWindow::fill_contents()
{
    for (const GuidePage &page : guide_pages()) {
        auto *item = new QTreeWidgetItem(contents_, {qt_text(page.title)});
        item->setData(0, Qt::UserRole, page_url(page.file, {}));
        for (const GuideHeading &heading : guide_headings(page_text(page.file).toStdString())) {
            if (heading.level != 2)
                continue;
            auto *section = new QTreeWidgetItem(item, {qt_text(heading.text)});
            section->setData(0, Qt::UserRole, page_url(page.file, heading.anchor));
        }
    }
}

void CHelpWindow::open_item(QTreeWidgetItem *item)
{
    if (item)
        browser_->setSource(item->data(0, Qt::UserRole).toUrl());
}

void CHelpWindow::show_topic(const HelpTopic &topic)
{
    browser_->setSource(page_url(topic.file, topic.anchor));
    show();
    raise();
    activateWindow();
}

void show_help(QWidget &from, const HelpTopic &topic)
{
    CHelpWindow::of(from).show_topic(topic);
}

} // namespace tw
