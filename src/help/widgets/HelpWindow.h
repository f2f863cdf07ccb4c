#pragma once

#include <QTextBrowser>
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

namespace help {

class HelpFile;

// The topics of a help file: links are followed inside the file, images
// come from it, other addresses open outside.
class TopicBrowser final : public QTextBrowser {
    Q_OBJECT
public:
    explicit TopicBrowser(QWidget *parent = nullptr);
    void setHelpFile(const HelpFile *file) { m_file = file; }
    QVariant loadResource(int type, const QUrl &name) override;

private:
    const HelpFile *m_file = nullptr;
};

// The help window: the table of contents beside the topic shown.
class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the topic (a file inside the help file) of the file, which must
    // live as long as it is shown.
    void showTopic(const HelpFile &file, const QString &topic);
    QString topic() const;
    QString text() const;
    TopicBrowser *Browser = nullptr;
    QTreeWidget *Contents = nullptr;

private:
    void fillContents(const HelpFile &file);
    // The contents entry of the topic shown is the current one.
    void markContentsEntry(const QString &shown);
    void contentsClicked(QTreeWidgetItem *item);

    const HelpFile *m_file = nullptr;
};

// The address of a topic inside the help file the browser shows.
QUrl TopicUrl(const QString &topic);

} // namespace help
