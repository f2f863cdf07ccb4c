#include "ZARecords.h"

#include "zip/ZAByteOrder.h"

#include <type_traits>

namespace zarecords {

namespace {

template <typename Record>
QByteArray encodeRecord(const Record &record)
{
    qsizetype size = 0;
    Record::fields(record, [&](const auto &field) { size += qsizetype(sizeof(field)); });
    QByteArray out;
    out.reserve(size);
    Record::fields(record, [&](const auto &field) { zabytes::put(out, field); });
    return out;
}

template <typename Record>
bool decodeRecord(Record &record, const QByteArray &bytes)
{
    zabytes::Reader in(bytes);
    Record::fields(record, [&](auto &field) { field = in.take<std::remove_reference_t<decltype(field)>>(); });
    return !in.failed();
}

} // namespace

QByteArray LocalHeader::encode() const
{
    return encodeRecord(*this);
}
bool LocalHeader::decode(const QByteArray &bytes)
{
    return decodeRecord(*this, bytes);
}
QByteArray EndRecord::encode() const
{
    return encodeRecord(*this);
}
bool EndRecord::decode(const QByteArray &bytes)
{
    return decodeRecord(*this, bytes);
}
QByteArray Zip64EndRecord::encode() const
{
    return encodeRecord(*this);
}
bool Zip64EndRecord::decode(const QByteArray &bytes)
{
    return decodeRecord(*this, bytes);
}
QByteArray Zip64Locator::encode() const
{
    return encodeRecord(*this);
}
bool Zip64Locator::decode(const QByteArray &bytes)
{
    return decodeRecord(*this, bytes);
}

} // namespace zarecords
