#include "ZAEntryFeed.h"

#include "platform/ReadOnlyFile.h"
#include "zip/ZAExcept.h"

#include <algorithm>

TZAEntryFeed::TZAEntryFeed(std::vector<TZAPlannedEntry> plan, int threads)
{
    if (threads > 1 && !plan.empty())
        m_queue = std::make_unique<TZACompressionQueue>(std::move(plan), threads, Budget);
}

TZAEntryFeed::~TZAEntryFeed() = default;

void TZAEntryFeed::Open(const QString &path, int level, qint64 chunkSize, qint64 plannedSize)
{
    Close();
    m_path = path;
    m_level = level;
    m_chunkSize = chunkSize;
    m_offset = 0;
    if (m_queue && plannedSize > 0 && m_queue->Begin(path, level, plannedSize)) {
        m_size = plannedSize;
        m_first = m_queue->NextChunk();
        if (m_first.status == TZAChunkStatus::Ok) {
            m_queued = m_haveFirst = true;
            return;
        }
        // Gone or changed since it was found: the entry is made here from
        // the source as it is now, or fails as a source that cannot be opened.
        m_queue->End();
        if (m_first.status == TZAChunkStatus::ReadFailed)
            raiseChanged();
    }
    openHere();
}

void TZAEntryFeed::openHere()
{
    m_file = std::make_unique<platform::ReadOnlyFile>(m_path);
    if (!m_file->isOpen())
        throw EZAException(zaconst::neCannotOpenFile, {}, {m_path});
    m_size = m_file->size();
}

TZAChunk TZAEntryFeed::Next()
{
    TZAChunk chunk;
    if (m_haveFirst) {
        m_haveFirst = false;
        chunk = std::move(m_first);
    } else if (m_queued) {
        chunk = m_queue->NextChunk();
    } else {
        chunk.path = m_path;
        chunk.sourceSize = m_size;
        chunk.offset = m_offset;
        chunk.length = std::min(m_chunkSize, m_size - m_offset);
        chunk.level = m_level;
        m_maker.Make(*m_file, chunk);
    }
    if (chunk.status != TZAChunkStatus::Ok)
        raiseChanged();
    m_offset += chunk.length;
    return chunk;
}

uint32_t TZAEntryFeed::SourceCrc()
{
    uLong crc = crc32(0L, Z_NULL, 0);
    QByteArray block(qsizetype(std::max<qint64>(1, std::min(m_chunkSize, m_size))), Qt::Uninitialized);
    qint64 done = 0;
    while (done < m_size) {
        const qint64 got = m_file->readAt(done, block.data(), std::min<qint64>(block.size(), m_size - done));
        if (got <= 0)
            raiseChanged();
        crc = crc32(crc, reinterpret_cast<const Bytef *>(block.constData()), uInt(got));
        done += got;
    }
    return uint32_t(crc);
}

void TZAEntryFeed::raiseChanged() const
{
    throw EZAException(zaconst::neSourceSizeChanged, {}, {QString::number(m_size), QString::number(m_offset)});
}

void TZAEntryFeed::Close()
{
    if (m_queued)
        m_queue->End();
    m_queued = m_haveFirst = false;
    m_first = {};
    m_file.reset();
}
