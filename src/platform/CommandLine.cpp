#include "CommandLine.h"

#include <algorithm>

namespace platform {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// The program token has no escapes: a leading quote runs to the next quote.
qsizetype takeProgram(const QString &line, qsizetype pos, QString &program)
{
    if (pos < line.size() && line.at(pos) == u'"') {
        const qsizetype close = line.indexOf(u'"', pos + 1);
        const qsizetype end = close < 0 ? line.size() : close;
        program = line.mid(pos + 1, end - pos - 1);
        return close < 0 ? end : end + 1;
    }
    qsizetype end = pos;
    while (end < line.size() && !isBlank(line.at(end)))
        ++end;
    program = line.mid(pos, end - pos);
    return end;
}

qsizetype skipBlanks(const QString &line, qsizetype pos)
{
    while (pos < line.size() && isBlank(line.at(pos)))
        ++pos;
    return pos;
}

qsizetype takeArgument(const QString &line, qsizetype pos, QString &argument)
{
    bool quoted = false;
    while (pos < line.size()) {
        const QChar c = line.at(pos);
        if (!quoted && isBlank(c))
            break;
        if (c == u'\\') {
            qsizetype slashes = 0;
            while (pos < line.size() && line.at(pos) == u'\\') {
                ++slashes;
                ++pos;
            }
            const bool beforeQuote = pos < line.size() && line.at(pos) == u'"';
            argument += QString(beforeQuote ? slashes / 2 : slashes, u'\\');
            if (beforeQuote && slashes % 2 == 1) {
                argument += u'"';
                ++pos;
            }
            continue;
        }
        if (c == u'"') {
            if (quoted && pos + 1 < line.size() && line.at(pos + 1) == u'"') {
                argument += u'"';
                pos += 2;
                continue;
            }
            quoted = !quoted;
            ++pos;
            continue;
        }
        argument += c;
        ++pos;
    }
    return pos;
}

} // namespace

QStringList splitCommandLine(const QString &commandLine)
{
    QStringList parts;
    qsizetype pos = skipBlanks(commandLine, 0);
    if (pos >= commandLine.size())
        return parts;
    QString program;
    pos = takeProgram(commandLine, pos, program);
    parts << program;
    for (pos = skipBlanks(commandLine, pos); pos < commandLine.size(); pos = skipBlanks(commandLine, pos)) {
        QString argument;
        pos = takeArgument(commandLine, pos, argument);
        parts << argument;
    }
    return parts;
}

std::optional<QString> programToken(const QString &path)
{
    if (path.contains(u'"'))
        return std::nullopt;
    if (std::any_of(path.begin(), path.end(), isBlank))
        return u'"' + path + u'"';
    return path;
}

} // namespace platform
