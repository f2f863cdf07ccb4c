#include "JobFileLines.h"

#include "platform/FileNames.h"

#include <QFile>

namespace jobfile {

std::optional<LineReader> LineReader::open(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    QFile file;
    if (!platform::openFile(file, path, QIODevice::ReadOnly))
        return std::nullopt;

    const textencoding::DecodedText decoded = textencoding::decode(file.readAll());
    QStringList lines = decoded.text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast(); // the line end of the last line
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    int extraMarks = 0;
    while (!lines.isEmpty() && lines.constFirst().startsWith(textencoding::MarkCharacter)) {
        lines.first().remove(0, 1);
        ++extraMarks;
    }
    LineReader reader(std::move(lines), decoded.encoding);
    reader.m_extraMarks = extraMarks;
    return reader;
}

LineReader::LineReader(QStringList lines, textencoding::Encoding encoding)
    : m_lines(std::move(lines))
    , m_encoding(encoding)
{
}

std::optional<QString> LineReader::next()
{
    while (m_position < m_lines.size()) {
        const QString &line = m_lines.at(m_position++);
        if (!line.startsWith(QStringLiteral("//")))
            return line;
    }
    return std::nullopt;
}

QString keyText(Key key)
{
    switch (key) {
    case Key::Source: return QStringLiteral("D=");
    case Key::Comment: return QStringLiteral("C=");
    case Key::Exclusions: return QStringLiteral("E=");
    case Key::WeekCopy: return QStringLiteral("W=");
    case Key::MonthCopy: return QStringLiteral("M=");
    case Key::QuarterCopy: return QStringLiteral("Q=");
    case Key::YearCopy: return QStringLiteral("Y=");
    }
    return {};
}

QString olderKeyText(Key key)
{
    switch (key) {
    case Key::Source: return QStringLiteral(u"\u0414:");      // Д
    case Key::Comment: return QStringLiteral(u"\u0421:");     // С
    case Key::Exclusions: return QStringLiteral(u"\u0418:");  // И
    case Key::WeekCopy: return QStringLiteral(u"\u041D:");    // Н
    case Key::MonthCopy: return QStringLiteral(u"\u041C:");   // М
    case Key::QuarterCopy: return QStringLiteral(u"\u041A:"); // К
    case Key::YearCopy: return QStringLiteral(u"\u0413:");    // Г
    }
    return {};
}

bool hasKeyAsWritten(const QString &line, Key key)
{
    const QStringView start = QStringView(line).left(2);
    return start == keyText(key) || start == olderKeyText(key);
}

bool hasKey(const QString &line, Key key)
{
    return hasKeyAsWritten(line.left(2).toUpper(), key);
}

namespace {

// Reads the lines of one section after its job name.
void readSectionBody(LineReader &reader, EmptyLine emptyLine, JobSection &section)
{
    const std::optional<QString> archive = reader.next();
    if (!archive)
        return;
    section.archive = *archive;

    // The line after the archive name is always a source, keyed or not.
    std::optional<QString> line = reader.next();
    if (!line)
        return;
    do {
        section.sources << (hasKey(*line, Key::Source) ? line->mid(2) : *line);
        section.exclusions << QString();
        line = reader.next();
    } while (line && hasKey(*line, Key::Source));

    // A line without the comment key is no comment: it is the first tail line.
    if (line && hasKey(*line, Key::Comment)) {
        section.comment = line->mid(2);
        line = reader.next();
        // Exclusion lines belong to the sources in order; a surplus line has
        // no source to belong to and is passed over.
        for (qsizetype source = 0; line && hasKey(*line, Key::Exclusions); ++source) {
            if (source < section.exclusions.size())
                section.exclusions[source] = line->mid(2);
            line = reader.next();
        }
    }

    for (; line && *line != SectionMark; line = reader.next()) {
        if (!line->isEmpty())
            section.tail << *line;
        else if (emptyLine == EmptyLine::EndsSection)
            return;
    }
}

// A ">" or an empty line between sections introduces no job of its own.
bool startsNoSection(const QString &line)
{
    return line == SectionMark || line.isEmpty();
}

} // namespace

QList<JobSection> readSections(LineReader &reader, EmptyLine emptyLine)
{
    std::optional<QString> line;
    do {
        line = reader.next();
    } while (line && *line != SectionMark);

    QList<JobSection> sections;
    for (line = reader.next(); line; line = reader.next()) {
        if (startsNoSection(*line))
            continue;
        JobSection &section = sections.emplace_back();
        section.name = *line;
        readSectionBody(reader, emptyLine, section);
    }
    return sections;
}

std::optional<QList<JobSection>> readSections(const QString &path, EmptyLine emptyLine,
                                              textencoding::Encoding *encoding, int *extraMarks)
{
    std::optional<LineReader> reader = LineReader::open(path);
    if (!reader)
        return std::nullopt;
    if (encoding)
        *encoding = reader->encoding();
    if (extraMarks)
        *extraMarks = reader->extraMarks();
    return readSections(*reader, emptyLine);
}

} // namespace jobfile
