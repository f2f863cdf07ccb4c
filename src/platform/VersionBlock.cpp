#include "VersionBlock.h"

#include <QCoreApplication>
#include <QFile>

namespace platform {

namespace {

// A block is a handful of short lines; anything longer between two markers
// is not ours.
constexpr qsizetype MaxBlockSize = 4096;

} // namespace

QByteArray VersionBlock::beginMarker()
{
    return QByteArray("<<ZENTAVO-VERSION-") + "BLOCK>>\n";
}

QByteArray VersionBlock::endMarker()
{
    return QByteArray("<</ZENTAVO-VERSION-") + "BLOCK>>";
}

VersionBlock VersionBlock::ofRunningProgram()
{
    if (!QCoreApplication::instance())
        return {};
    return ofFile(QCoreApplication::applicationFilePath());
}

VersionBlock VersionBlock::ofFile(const QString &programFile)
{
    QFile file(programFile);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0)
        return {};
    const uchar *mapped = file.map(0, file.size());
    QByteArray read;
    if (!mapped)
        read = file.readAll();
    const QByteArrayView bytes = mapped ? QByteArrayView(mapped, file.size()) : QByteArrayView(read);

    const QByteArray begin = beginMarker();
    const QByteArray end = endMarker();
    for (qsizetype at = bytes.indexOf(begin); at >= 0; at = bytes.indexOf(begin, at + 1)) {
        const qsizetype bodyStart = at + begin.size();
        const qsizetype bodyEnd = bytes.indexOf(end, bodyStart);
        if (bodyEnd < 0)
            break;
        if (bodyEnd - bodyStart <= MaxBlockSize)
            return parse(bytes.sliced(bodyStart, bodyEnd - bodyStart));
    }
    return {};
}

VersionBlock VersionBlock::parse(QByteArrayView body)
{
    VersionBlock block;
    const QString text = QString::fromUtf8(body);
    for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0)
            block.m_values.insert(line.left(equals), line.mid(equals + 1));
    }
    return block;
}

} // namespace platform
