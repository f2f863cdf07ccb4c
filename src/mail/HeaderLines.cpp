#include "HeaderLines.h"

namespace smtpmail {

namespace {

constexpr qsizetype foldLength = 72;

// Position of the first occurrence of c at or after from, outside double quotes.
qsizetype indexOutsideQuotes(const QString &text, QChar c, qsizetype from = 0)
{
    bool quoted = false;
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == u'"')
            quoted = !quoted;
        else if (!quoted && text[i] == c)
            return i;
    }
    return -1;
}

QString unquoted(const QString &value)
{
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        return value.mid(1, value.size() - 2);
    return value;
}

// Start and end of the text of the parameter, or -1.
std::pair<qsizetype, qsizetype> findParam(const QString &line, const QString &name)
{
    const QString wanted = name.trimmed().toUpper();
    qsizetype semicolon = indexOutsideQuotes(line, u';');
    while (semicolon >= 0) {
        const qsizetype next = indexOutsideQuotes(line, u';', semicolon + 1);
        const qsizetype end = next < 0 ? line.size() : next;
        const QString piece = line.mid(semicolon + 1, end - semicolon - 1);
        const qsizetype equals = piece.indexOf(u'=');
        if (equals >= 0 && piece.left(equals).trimmed().toUpper() == wanted)
            return {semicolon + 1 + equals + 1, end};
        semicolon = next;
    }
    return {-1, -1};
}

// Marks the characters where a fold may not happen: inside quotes and encoded words.
QList<bool> protectedPositions(const QString &line)
{
    QList<bool> inside(line.size(), false);
    bool single = false;
    bool dbl = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'"' && !single)
            dbl = !dbl;
        else if (line[i] == u'\'' && !dbl)
            single = !single;
        inside[i] = single || dbl;
    }
    for (qsizetype start = line.indexOf(u"=?"); start >= 0; start = line.indexOf(u"=?", start + 2)) {
        const qsizetype charsetEnd = line.indexOf(u'?', start + 2);
        const qsizetype end = charsetEnd < 0 ? -1 : line.indexOf(u"?=", charsetEnd + 3);
        if (end < 0)
            break;
        for (qsizetype i = start; i < end + 2; ++i)
            inside[i] = true;
        start = end;
    }
    return inside;
}

bool isFoldPlace(QChar c)
{
    return c == u' ' || c == u',' || c == u';';
}

// Where the line is cut: the last place at or before the fold length, else the
// first place after it, so that a long run of encoded words still folds.
qsizetype foldPlace(const QString &line)
{
    const qsizetype colon = line.indexOf(u": ");
    const qsizetype lowest = line.startsWith(u'\t') ? 36 : (colon >= 0 ? colon + 2 : 2);
    const QList<bool> inside = protectedPositions(line);
    for (qsizetype i = std::min(foldLength - 1, line.size() - 2); i >= lowest; --i)
        if (isFoldPlace(line[i]) && !inside[i])
            return i;
    for (qsizetype i = std::max(foldLength, lowest); i < line.size() - 1; ++i)
        if (isFoldPlace(line[i]) && !inside[i])
            return i;
    return -1;
}

} // namespace

QString GetHeaderValue(const QString &line)
{
    const qsizetype colon = line.indexOf(u':');
    if (colon < 0)
        return {};
    const qsizetype semicolon = indexOutsideQuotes(line, u';', colon + 1);
    const qsizetype end = semicolon < 0 ? line.size() : semicolon;
    return unquoted(line.mid(colon + 1, end - colon - 1).trimmed());
}

QString SetHeaderValue(const QString &line, const QString &value)
{
    const qsizetype colon = line.indexOf(u':');
    if (colon < 0)
        return line;
    const qsizetype semicolon = indexOutsideQuotes(line, u';', colon + 1);
    const QString parameters = semicolon < 0 ? QString() : line.mid(semicolon);
    return line.left(colon + 1) + u' ' + value.trimmed() + parameters;
}

QString GetParamValue(const QString &line, const QString &name)
{
    QString text = line.trimmed();
    if (!text.endsWith(u';'))
        text += u';';
    const auto [start, end] = findParam(text, name);
    if (start < 0)
        return {};
    return unquoted(text.mid(start, end - start).trimmed());
}

QString SetParamValue(const QString &line, const QString &name, const QString &value)
{
    const auto [start, end] = findParam(line, name);
    if (start >= 0)
        return line.left(start) + value.trimmed() + line.mid(end);
    return line.trimmed() + QStringLiteral("; ") + name.trimmed() + u'=' + value.trimmed();
}

qsizetype FindHeaderLine(const QStringList &lines, const QString &prefix, int n)
{
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(prefix, Qt::CaseInsensitive) && n-- == 0)
            return i;
    return -1;
}

QString FoldHeaderLine(const QString &header)
{
    QString text = header;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    while (text.endsWith(u'\n'))
        text.chop(1);

    QString out;
    for (QString line : text.split(u'\n')) {
        while (line.size() > foldLength) {
            const qsizetype cut = foldPlace(line);
            if (cut < 0)
                break;
            const bool keep = line[cut] != u' ';
            out += line.left(keep ? cut + 1 : cut) + QStringLiteral("\r\n");
            line = u'\t' + line.mid(cut + 1);
        }
        out += line + QStringLiteral("\r\n");
    }
    return out;
}

QString NextLine(const QString &text, qsizetype &pos)
{
    const qsizetype end = text.indexOf(u"\r\n", pos);
    if (end < 0) {
        const QString rest = text.mid(pos);
        pos = -1;
        return rest;
    }
    const QString line = text.mid(pos, end + 2 - pos);
    pos = end + 2;
    if (pos >= text.size())
        pos = -1;
    return line;
}

QString TrimLeftBlanks(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && (text[start] == u' ' || text[start] == u'\t'))
        ++start;
    return text.mid(start);
}

QString TrimBlanks(const QString &text)
{
    QString trimmed = TrimLeftBlanks(text);
    while (trimmed.endsWith(u' '))
        trimmed.chop(1);
    return trimmed;
}

QString PadLeft(const QString &text, qsizetype n, const QString &fill)
{
    QString padded = TrimLeftBlanks(text);
    if (padded.size() > n)
        return padded.right(n);
    while (!fill.isEmpty() && padded.size() < n)
        padded.prepend(fill);
    return padded.right(n);
}

} // namespace smtpmail
