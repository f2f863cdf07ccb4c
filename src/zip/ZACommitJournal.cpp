#include "ZACommitJournal.h"

#include "SafeSave.h"
#include "ZAExcept.h"
#include "ZAStreamIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString Extension = QStringLiteral(".commit");

bool parse(const QByteArray &text, zajournal::Entry &entry)
{
    bool tail = false, position = false, size = false;
    for (const QByteArray &line : text.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = line.left(equals);
        const QByteArray value = line.mid(equals + 1);
        if (key == "tail") {
            entry.tailFile = QString::fromUtf8(value);
            tail = !entry.tailFile.isEmpty();
        } else if (key == "position") {
            entry.writePosition = value.toLongLong(&position);
        } else if (key == "size") {
            entry.tailSize = value.toLongLong(&size);
        }
    }
    return tail && position && size && entry.writePosition >= 0 && entry.tailSize >= 0;
}

void removeSynced(const QString &path)
{
    if (QFile::remove(path))
        platform::syncFolder(QFileInfo(path).absolutePath());
}

} // namespace

namespace zajournal {

QString NameFor(const QString &archive)
{
    return QFileInfo(archive).absoluteFilePath() + Extension;
}

void Write(const QString &archive, const Entry &entry)
{
    const QString name = NameFor(archive);
    const QByteArray text = "tail=" + entry.tailFile.toUtf8() + "\nposition="
                            + QByteArray::number(entry.writePosition) + "\nsize="
                            + QByteArray::number(entry.tailSize) + '\n';
    if (!platform::saveFile(name, text))
        throw EZAException(zaconst::neCannotCreateFile, {}, {name});
}

void Remove(const QString &archive)
{
    removeSynced(NameFor(archive));
}

bool Recover(const QString &archive)
{
    const QString name = NameFor(archive);
    QFile note(name);
    if (!note.open(QIODevice::ReadOnly))
        return false;
    Entry entry;
    const bool valid = parse(note.readAll(), entry);
    note.close();
    if (!valid || !QFileInfo::exists(archive) || QFileInfo(entry.tailFile).size() != entry.tailSize) {
        // Nothing that could be put back: an unfinished note or a lost tail.
        removeSynced(name);
        if (valid)
            removeSynced(entry.tailFile);
        return false;
    }
    QFile target(archive);
    QFile tail(entry.tailFile);
    if (!target.open(QIODevice::ReadWrite) || !tail.open(QIODevice::ReadOnly))
        throw EZAException(zaconst::neCannotOpenFile, {}, {archive});
    zastream::truncate(target, entry.writePosition);
    zastream::seekChecked(target, entry.writePosition);
    zastream::CopyTempFileToDest(tail, target, entry.tailSize);
    if (!zastream::syncToDisk(target))
        throw EZAException(zaconst::neWriteFailed);
    target.close();
    tail.close();
    removeSynced(name);
    removeSynced(entry.tailFile);
    return true;
}

} // namespace zajournal
