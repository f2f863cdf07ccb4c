#pragma once

#include "help/ChmArchive.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace help {

// One line of a help file's table of contents.
struct ContentsEntry {
    QString name;
    QString topic; // the topic file inside the help file, may be empty
    int level = 0;
};

// What the help windows read from a compiled help file: topics, the table
// of contents, the popup texts by context number and the topic of a help
// context. The help project puts its map file "Context.h" (names and
// context numbers) and "Alias.h" (name=topic file) into the file; a context
// whose own name has no topic gets the topic of its window, the name's part
// before the first "_".
class HelpFile {
public:
    static std::unique_ptr<HelpFile> open(const QString &path);

    QString title() const { return m_title; }
    // The topic shown when none is asked for.
    QString defaultTopic() const;
    bool hasTopic(const QString &topic) const;
    std::optional<QByteArray> read(const QString &topic) const;
    const QList<ContentsEntry> &contents() const { return m_contents; }
    // The popup text of the context in the popup-text file; nothing when
    // the file has none for it.
    std::optional<QString> popupText(const QString &popupFile, int context) const;
    // The topic file of the help context; empty when none.
    QString topicOfContext(int context) const;

private:
    explicit HelpFile(std::unique_ptr<ChmArchive> archive);
    void readSystem();
    void readContents();

    std::unique_ptr<ChmArchive> m_archive;
    QString m_title;
    QString m_defaultTopic;
    QList<ContentsEntry> m_contents;
};

// Parsers of the help file's text files, apart for their tests.
// A popup-text file: ".topic <number>" lines, each followed by its text.
std::optional<QString> FindPopupText(const QString &popupFile, int context);
// A table of contents: the sitemap objects of nested lists.
QList<ContentsEntry> ParseContents(const QString &html);

} // namespace help
