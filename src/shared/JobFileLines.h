#pragma once

#include "shared/TextEncoding.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The reading rules that the main program and the editor share for job files:
// the line reader that passes over "//" comment lines, the key test that
// accepts the older Cyrillic keys, and the split of a file into job sections.
// Each program then places a section's tail lines into its own job block.
namespace jobfile {

// The line that opens a job section.
inline const QString SectionMark = QStringLiteral(">");

class LineReader {
public:
    // The decoded lines of a job file (code page 1251 or UTF-8, see
    // TextEncoding.h); nothing when no name is given or the file cannot be
    // opened for reading.
    static std::optional<LineReader> open(const QString &path);

    explicit LineReader(QStringList lines, textencoding::Encoding encoding = textencoding::Encoding::Cp1251);

    // The next line that is not a "//" comment; nothing at the end.
    std::optional<QString> next();

    // The encoding the file was written in.
    textencoding::Encoding encoding() const { return m_encoding; }
    // The byte-order marks after the first that an editor put before the
    // first line; they are no part of it.
    int extraMarks() const { return m_extraMarks; }

private:
    QStringList m_lines;
    textencoding::Encoding m_encoding;
    int m_extraMarks = 0;
    qsizetype m_position = 0;
};

enum class Key { Source, Comment, Exclusions, WeekCopy, MonthCopy, QuarterCopy, YearCopy };

// The key with which the editor writes a line ("D=", "C=", ...).
QString keyText(Key key);

// The key that older files used in its place ("Д:", "С:", ...).
QString olderKeyText(Key key);

// The first two characters of the line, upper-cased, are the key or its older form.
bool hasKey(const QString &line, Key key);

// The first two characters of the line, as written, are the key or its older form.
bool hasKeyAsWritten(const QString &line, Key key);

// One job section: the fixed lines, then the free tail (destinations, period
// copies and commands) as written.
struct JobSection {
    QString name;
    QString archive;
    QString comment;
    QStringList sources;
    QStringList exclusions; // parallel to sources: the masks of source i
    QStringList tail;
};

// The main program ends a section at an empty line as well as at ">"; the
// editor passes over an empty line, so that a save never writes one into a job.
enum class EmptyLine { EndsSection, Skipped };

// Every job section after the header of the file (everything up to the first
// ">" line is header). Nothing when the file cannot be opened. encoding and
// extraMarks, when given, learn how the file was written.
std::optional<QList<JobSection>> readSections(const QString &path, EmptyLine emptyLine,
                                              textencoding::Encoding *encoding = nullptr, int *extraMarks = nullptr);
QList<JobSection> readSections(LineReader &reader, EmptyLine emptyLine);

} // namespace jobfile
