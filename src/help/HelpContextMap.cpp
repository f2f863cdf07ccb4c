#include "HelpContextMap.h"

#include "help/HelpError.h"
#include "help/HelpUtils.h"

#include <QtEndian>

#include <algorithm>
#include <utility>
#include <vector>

namespace help {

namespace {

constexpr qsizetype RecordSize = 8;

qint32 fieldAt(const QByteArray &records, qsizetype offset)
{
    return qFromLittleEndian<qint32>(records.constData() + offset);
}

} // namespace

qint32 THelpContextMap::FindContext(const QString &name) const
{
    const qint32 h = HashName(name);
    if (h == 0 || m_records.isEmpty())
        return 0;
    qsizetype low = 0;
    qsizetype high = m_records.size() / RecordSize - 1;
    while (low <= high) {
        const qsizetype middle = (low + high) / 2;
        const qint32 hash = fieldAt(m_records, middle * RecordSize);
        if (hash == h)
            return fieldAt(m_records, middle * RecordSize + 4);
        if (hash < h)
            low = middle + 1;
        else
            high = middle - 1;
    }
    return 0;
}

void THelpContextMap::ReadFileData(const QByteArray &stored)
{
    if (stored.size() < 4)
        throw EHelpError(QStringLiteral("The help context data is damaged: it has no length."));
    const quint32 length = qFromLittleEndian<quint32>(stored.constData());
    if (length > quint64(stored.size() - 4) || length % RecordSize != 0)
        throw EHelpError(QStringLiteral("The help context data is damaged: its length %1 does not fit its %2 bytes.")
                             .arg(length)
                             .arg(stored.size() - 4));
    m_records = stored.mid(4, length);
}

QByteArray THelpContextMap::WriteFileData() const
{
    if (m_records.isEmpty())
        return {};
    QByteArray stored(4, '\0');
    qToLittleEndian<quint32>(quint32(m_records.size()), stored.data());
    return stored + m_records;
}

int THelpContextMap::SetFileName(const QString &fileName)
{
    int count = 0;
    if (!fileName.isEmpty()) {
        const QList<MapEntry> entries = ParseMapFile(fileName);
        m_records = BuildRecords(entries);
        count = int(entries.size());
    }
    m_fileName = fileName;
    return count;
}

QByteArray THelpContextMap::BuildRecords(const QList<MapEntry> &entries)
{
    std::vector<std::pair<qint32, qint32>> pairs;
    pairs.reserve(entries.size());
    for (const MapEntry &entry : entries)
        pairs.emplace_back(HashName(entry.name), entry.context);
    std::stable_sort(pairs.begin(), pairs.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QByteArray records(qsizetype(pairs.size()) * RecordSize, '\0');
    char *at = records.data();
    for (const auto &[hash, context] : pairs) {
        qToLittleEndian<qint32>(hash, at);
        qToLittleEndian<qint32>(context, at + 4);
        at += RecordSize;
    }
    return records;
}

} // namespace help
