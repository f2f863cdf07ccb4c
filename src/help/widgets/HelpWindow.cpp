#include "HelpWindow.h"

#include "help/HelpFile.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace help {

namespace {

const QString TopicScheme = QStringLiteral("help");

} // namespace

QUrl TopicUrl(const QString &topic)
{
    QUrl url;
    url.setScheme(TopicScheme);
    url.setPath(topic.startsWith(u'/') ? topic : u'/' + topic);
    return url;
}

TopicBrowser::TopicBrowser(QWidget *parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("TopicView"));
    // The browser would hand the file's own addresses to the desktop: links
    // are followed here instead.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl &link) {
        const QUrl target = source().resolved(link);
        if (target.scheme() == TopicScheme)
            setSource(target, QTextDocument::HtmlResource);
        else
            QDesktopServices::openUrl(target);
    });
}

QVariant TopicBrowser::loadResource(int type, const QUrl &name)
{
    if (name.scheme() != TopicScheme)
        return QTextBrowser::loadResource(type, name);
    if (m_file == nullptr)
        return {};
    const std::optional<QByteArray> data = m_file->read(name.path());
    if (!data)
        return {};
    if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
        return QString::fromUtf8(*data);
    return *data;
}

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    auto *splitter = new QSplitter(this);
    Contents = new QTreeWidget(splitter);
    Contents->setObjectName(QStringLiteral("Contents"));
    Contents->setHeaderHidden(true);
    Browser = new TopicBrowser(splitter);
    splitter->addWidget(Contents);
    splitter->addWidget(Browser);
    splitter->setStretchFactor(1, 3);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(760, 520);
    connect(Contents, &QTreeWidget::itemActivated, this, &HelpWindow::contentsClicked);
    connect(Contents, &QTreeWidget::itemClicked, this, &HelpWindow::contentsClicked);
    // The browser tells the new address before its own source() has it.
    connect(Browser, &QTextBrowser::sourceChanged, this, [this](const QUrl &shown) {
        if (!Browser->documentTitle().isEmpty())
            setWindowTitle(Browser->documentTitle());
        markContentsEntry(shown.path().mid(1));
    });
}

void HelpWindow::showTopic(const HelpFile &file, const QString &topic)
{
    if (m_file != &file) {
        m_file = &file;
        Browser->setHelpFile(&file);
        Browser->clearHistory();
        fillContents(file);
    }
    setWindowTitle(file.title().isEmpty() ? QStringLiteral("Help") : file.title());
    Browser->setSource(TopicUrl(topic), QTextDocument::HtmlResource);
    show();
    raise();
    activateWindow();
}

QString HelpWindow::topic() const
{
    return Browser->source().path().mid(1);
}

QString HelpWindow::text() const
{
    return Browser->toPlainText();
}

void HelpWindow::fillContents(const HelpFile &file)
{
    Contents->clear();
    QList<QTreeWidgetItem *> parents;
    for (const ContentsEntry &entry : file.contents()) {
        const int level = std::min<int>(entry.level, int(parents.size()));
        parents.resize(level);
        auto *item = parents.isEmpty() ? new QTreeWidgetItem(Contents) : new QTreeWidgetItem(parents.last());
        item->setText(0, entry.name);
        item->setData(0, Qt::UserRole, entry.topic);
        parents << item;
    }
    Contents->expandAll();
    Contents->setVisible(Contents->topLevelItemCount() > 0);
}

void HelpWindow::markContentsEntry(const QString &shown)
{
    for (QTreeWidgetItemIterator it(Contents); *it != nullptr; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString().compare(shown, Qt::CaseInsensitive) == 0) {
            Contents->setCurrentItem(*it);
            return;
        }
    }
    Contents->setCurrentItem(nullptr);
}

void HelpWindow::contentsClicked(QTreeWidgetItem *item)
{
    const QString topic = item->data(0, Qt::UserRole).toString();
    if (!topic.isEmpty())
        Browser->setSource(TopicUrl(topic), QTextDocument::HtmlResource);
}

} // namespace help
