#include "ZACommitJournal.h"

#include "platform/SafeSave.h"
#include "zip/ZADirManager.h"
#include "zip/ZAExcept.h"
#include "zip/ZAStreamIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <memory>

namespace {

const QString Extension = QStringLiteral(".commit");

bool parse(const QByteArray &text, zajournal::Entry &entry)
{
    bool tail = false, position = false, size = false;
    entry.tailEntries = 0;
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
        } else if (key == "entries") {
            entry.tailEntries = std::max<qint64>(0, value.toLongLong());
        }
    }
    return tail && position && size && entry.writePosition >= 0 && entry.tailSize >= 0;
}

void removeSynced(const QString &path)
{
    if (QFile::remove(path))
        platform::syncFolder(QFileInfo(path).absolutePath());
}

// Without its tail the commit cannot be undone. When it got as far as the
// new end record the archive is whole; otherwise what follows the write
// position is a rewrite cut short, and the old entries it was to hold are
// gone with the tail.
zajournal::Recovery dropLostTail(const QString &archive, const zajournal::Entry &entry)
{
    auto file = std::make_unique<QFile>(archive);
    if (!file->open(QIODevice::ReadWrite))
        throw EZAException(zaconst::neCannotOpenFile, {}, {archive});
    TZADeviceStream stream(std::move(file));
    if (TZADirManager(stream, {}).FindEndRecord() >= 0 || entry.writePosition > stream.size())
        return {};
    zastream::truncate(stream, entry.writePosition);
    if (!zastream::syncToDisk(stream))
        throw EZAException(zaconst::neWriteFailed);
    return {false, entry.tailEntries};
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
    const QByteArray text = "tail=" + entry.tailFile.toUtf8() + "\nposition=" + QByteArray::number(entry.writePosition)
        + "\nsize=" + QByteArray::number(entry.tailSize) + "\nentries=" + QByteArray::number(entry.tailEntries) + '\n';
    if (!platform::saveFile(name, text))
        throw EZAException(zaconst::neCannotCreateFile, {}, {name});
}

void Remove(const QString &archive)
{
    removeSynced(NameFor(archive));
}

Recovery Recover(const QString &archive)
{
    const QString name = NameFor(archive);
    QFile note(name);
    if (!note.open(QIODevice::ReadOnly))
        return {};
    Entry entry;
    const bool valid = parse(note.readAll(), entry);
    note.close();
    if (!valid || !QFileInfo::exists(archive)) {
        removeSynced(name);
        if (valid)
            removeSynced(entry.tailFile);
        return {};
    }
    if (QFileInfo(entry.tailFile).size() != entry.tailSize) {
        const Recovery recovery = dropLostTail(archive, entry);
        removeSynced(name);
        removeSynced(entry.tailFile);
        return recovery;
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
    return {true, 0};
}

} // namespace zajournal
