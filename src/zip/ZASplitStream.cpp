#include "ZASplitStream.h"

#include "zip/ZAExcept.h"
#include "zip/ZAStreamIO.h"
#include "zip/ZAVolumeNames.h"

#include <QFile>

#include <algorithm>
#include <limits>

std::unique_ptr<QIODevice> TZAVolumeHost::OpenVolume(const QString &name, QIODevice::OpenMode mode)
{
    auto file = std::make_unique<QFile>(name);
    if (!file->open(mode))
        return nullptr;
    return file;
}

bool TZAVolumeHost::RenameVolume(const QString &from, const QString &to)
{
    if (QFile::exists(to) && !QFile::remove(to))
        return false;
    return QFile::rename(from, to);
}

void TZAVolumeHost::RemoveVolume(const QString &name)
{
    QFile::remove(name);
}

TZASplitStream::TZASplitStream(TZAVolumeHost &host) : m_host(host)
{
}

TZASplitStream::~TZASplitStream()
{
    TZASplitStream::close();
}

void TZASplitStream::close()
{
    m_other.reset();
    m_otherIndex = -1;
    if (m_current)
        zastream::syncToDisk(*m_current);
    m_current.reset();
    QIODevice::close();
}

void TZASplitStream::StartNew()
{
    m_volumes.clear();
    QIODevice::open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    appendVolume(m_host.RequestBlankVolume(0));
}

void TZASplitStream::OpenExisting(const QStringList &names, bool writable, qint64 lastCapacity)
{
    m_volumes.clear();
    qint64 start = 0;
    for (const QString &name : names) {
        const bool last = &name == &names.back();
        auto device = m_host.OpenVolume(name, last && writable ? QIODevice::ReadWrite : QIODevice::ReadOnly);
        if (!device)
            throw EZAException(zaconst::neCannotOpenFile, {}, {name});
        const qint64 size = device->size();
        m_volumes.push_back({name, start, size, last ? std::max(lastCapacity, size) : size});
        start += size;
        if (last)
            m_current = std::move(device);
    }
    QIODevice::open((writable ? QIODevice::ReadWrite : QIODevice::ReadOnly) | QIODevice::Unbuffered);
}

void TZASplitStream::appendVolume(const TZAVolumeHost::BlankVolume &blank)
{
    // Spanned disks share one name; on fixed drives a second volume of the
    // same name would overwrite the first.
    for (const Volume &volume : m_volumes) {
        if (volume.name == blank.name)
            throw EZAException(zaconst::neCannotCreateFile, {}, {blank.name});
    }
    auto device = m_host.OpenVolume(blank.name, QIODevice::ReadWrite | QIODevice::Truncate);
    if (!device)
        throw EZAException(zaconst::neCannotCreateFile, {}, {blank.name});
    const qint64 start = m_volumes.empty() ? 0 : m_volumes.back().start + m_volumes.back().size;
    m_volumes.push_back({blank.name, start, 0, blank.capacity});
    m_current = std::move(device);
}

void TZASplitStream::nextVolume()
{
    // Nothing that failed to fit here fits a later volume of the same kind;
    // asking for more would open empty volumes without end.
    if (m_volumes.back().size == 0)
        throw EZAException(zaconst::neWriteFailed);
    if (!zastream::syncToDisk(*m_current))
        throw EZAException(zaconst::neWriteFailed);
    const int index = CurrentVolume();
    // A cancelled request leaves the full volume open as the current one.
    const TZAVolumeHost::BlankVolume blank = m_host.RequestBlankVolume(index + 1);
    m_current.reset();
    if (m_otherIndex == index) {
        m_other.reset();
        m_otherIndex = -1;
    }
    try {
        // A set that is written on after it was finished gives its last
        // volume back its numbered name.
        Volume &full = m_volumes.back();
        const QString numbered = m_host.VolumeName(index);
        if (full.name != numbered) {
            if (!m_host.RenameVolume(full.name, numbered))
                throw EZAException(zaconst::neCannotCreateFile, {}, {numbered});
            full.name = numbered;
        }
        appendVolume(blank);
    } catch (...) {
        m_current = m_host.OpenVolume(m_volumes.back().name, QIODevice::ReadWrite);
        throw;
    }
}

void TZASplitStream::Finish()
{
    if (!m_current)
        throw EZAException(zaconst::neWriteFailed);
    Volume &last = m_volumes.back();
    const QString finalName = m_host.LastVolumeName();
    // A self-extracting set that fits its first volume is a self-extracting
    // archive of one file: it keeps the ".exe" it is run and opened by.
    if (last.name == finalName || (m_volumes.size() == 1 && zavolumes::IsExeName(last.name)))
        return;
    if (!zastream::syncToDisk(*m_current))
        throw EZAException(zaconst::neWriteFailed);
    m_current.reset();
    if (!m_host.RenameVolume(last.name, finalName))
        throw EZAException(zaconst::neCannotCreateFile, {}, {finalName});
    last.name = finalName;
    m_current = m_host.OpenVolume(finalName, QIODevice::ReadWrite);
    if (!m_current)
        throw EZAException(zaconst::neCannotOpenFile, {}, {finalName});
}

void TZASplitStream::MarkLayout()
{
    m_marked = m_volumes;
}

void TZASplitStream::RestoreFrom(qint64 position, QIODevice &saved)
{
    const std::vector<Volume> old = m_marked;
    if (old.empty() || position > old.back().start + old.back().size) {
        TZAStream::RestoreFrom(position, saved);
        return;
    }
    m_other.reset();
    m_otherIndex = -1;
    m_current.reset();
    for (std::size_t i = old.size(); i < m_volumes.size(); ++i)
        m_host.RemoveVolume(m_volumes[i].name);
    for (std::size_t i = 0; i < std::min(old.size(), m_volumes.size()); ++i) {
        if (m_volumes[i].name != old[i].name && !m_host.RenameVolume(m_volumes[i].name, old[i].name))
            throw EZAException(zaconst::neCannotCreateFile, {}, {old[i].name});
    }
    m_volumes = old;
    // Volumes wholly before the position were never written to; an empty
    // one there may have been removed and is made again.
    for (const Volume &volume : old) {
        const qint64 end = volume.start + volume.size;
        if (end <= position && volume.size > 0)
            continue;
        const qint64 from = std::max(volume.start, position);
        auto device = m_host.OpenVolume(volume.name, QIODevice::ReadWrite);
        if (!device || !zastream::resize(*device, from - volume.start) || !device->seek(from - volume.start)
            || !saved.seek(from - position))
            throw EZAException(zaconst::neWriteFailed);
        zastream::CopyTempFileToDest(saved, *device, end - from);
        if (!zastream::syncToDisk(*device))
            throw EZAException(zaconst::neWriteFailed);
    }
    m_current = m_host.OpenVolume(old.back().name, QIODevice::ReadWrite);
    if (!m_current)
        throw EZAException(zaconst::neCannotOpenFile, {}, {old.back().name});
    QIODevice::seek(size());
}

qint64 TZASplitStream::roomAtEnd() const
{
    const Volume &last = m_volumes.back();
    return last.capacity - last.size;
}

void TZASplitStream::KeepTogether(qint64 count)
{
    if (pos() != size() || roomAtEnd() >= count)
        return;
    nextVolume();
    if (roomAtEnd() < count)
        throw EZAException(zaconst::neWriteFailed);
}

int TZASplitStream::volumeAt(qint64 pos) const
{
    for (int i = 0; i < int(m_volumes.size()); ++i) {
        const Volume &v = m_volumes[std::size_t(i)];
        if (pos < v.start + v.size)
            return i;
    }
    return CurrentVolume();
}

std::pair<uint32_t, qint64> TZASplitStream::VolumePosition(qint64 pos) const
{
    const int index = volumeAt(pos);
    return {uint32_t(index), pos - m_volumes.at(std::size_t(index)).start};
}

qint64 TZASplitStream::StreamPosition(uint32_t disk, qint64 offset) const
{
    if (disk >= m_volumes.size() || offset < 0)
        return -1;
    return m_volumes[disk].start + offset;
}

QIODevice *TZASplitStream::deviceFor(int index, bool write)
{
    if (index == CurrentVolume())
        return m_current.get();
    if (m_otherIndex != index || (write && !m_otherWritable)) {
        m_other.reset();
        m_otherIndex = -1;
        m_other
            = m_host.OpenVolume(m_volumes[std::size_t(index)].name, write ? QIODevice::ReadWrite : QIODevice::ReadOnly);
        if (!m_other)
            return nullptr;
        m_otherIndex = index;
        m_otherWritable = write;
    }
    return m_other.get();
}

qint64 TZASplitStream::size() const
{
    if (m_volumes.empty())
        return 0;
    return m_volumes.back().start + m_volumes.back().size;
}

bool TZASplitStream::seek(qint64 pos)
{
    if (pos < 0 || pos > size())
        return false;
    return QIODevice::seek(pos);
}

qint64 TZASplitStream::readData(char *data, qint64 maxSize)
{
    qint64 done = 0;
    qint64 at = pos();
    while (done < maxSize && at < size()) {
        const int index = volumeAt(at);
        const Volume &v = m_volumes[std::size_t(index)];
        QIODevice *device = deviceFor(index, false);
        const qint64 offset = at - v.start;
        if (!device || !device->seek(offset))
            return done > 0 ? done : -1;
        const qint64 got = device->read(data + done, std::min(maxSize - done, v.size - offset));
        if (got <= 0)
            return done > 0 ? done : -1;
        done += got;
        at += got;
    }
    return done;
}

qint64 TZASplitStream::writeData(const char *data, qint64 maxSize)
{
    qint64 done = 0;
    qint64 at = pos();
    try {
        while (done < maxSize) {
            int index = volumeAt(at);
            qint64 room = 0;
            if (index < CurrentVolume()) {
                // Rewriting bytes of an earlier volume: never past its end.
                const Volume &v = m_volumes[std::size_t(index)];
                room = v.start + v.size - at;
            } else {
                const Volume &v = m_volumes.back();
                room = v.capacity - (at - v.start);
                if (room <= 0) {
                    nextVolume();
                    continue;
                }
            }
            Volume &v = m_volumes[std::size_t(index)];
            QIODevice *device = deviceFor(index, true);
            const qint64 offset = at - v.start;
            if (!device)
                throw EZAException(zaconst::neWriteFailed);
            // A volume's disk can fill before the volume does: the system's
            // refusal is the archive's, as for a single file.
            const qint64 written
                = device->seek(offset) ? device->write(data + done, std::min(maxSize - done, room)) : -1;
            if (written <= 0) {
                KeepReason(*device);
                break;
            }
            done += written;
            at += written;
            v.size = std::max(v.size, offset + written);
        }
    } catch (...) {
        KeepFailure();
        return done > 0 ? done : -1;
    }
    return done;
}

bool TZASplitStream::Resize(qint64 newSize)
{
    if (newSize < 0 || newSize > size() || !m_current)
        return false;
    int keep = volumeAt(newSize);
    // A cut exactly at a volume's end keeps that volume as the last one.
    if (keep > 0 && newSize == m_volumes[std::size_t(keep)].start)
        --keep;
    if (keep < CurrentVolume()) {
        m_other.reset();
        m_otherIndex = -1;
        m_current.reset();
        while (CurrentVolume() > keep) {
            m_host.RemoveVolume(m_volumes.back().name);
            m_volumes.pop_back();
        }
        Volume &last = m_volumes.back();
        m_current = m_host.OpenVolume(last.name, QIODevice::ReadWrite);
        if (!m_current)
            return false;
        // The volume was full; what it may hold again is what it held.
        last.capacity = std::max(last.capacity, last.size);
    }
    Volume &last = m_volumes.back();
    const qint64 inVolume = newSize - last.start;
    if (!zastream::resize(*m_current, inVolume)) {
        KeepReason(*m_current);
        return false;
    }
    last.size = inVolume;
    return QIODevice::seek(std::min(pos(), newSize));
}

bool TZASplitStream::SyncToDisk()
{
    return !m_current || zastream::syncToDisk(*m_current);
}
