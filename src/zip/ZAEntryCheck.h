#pragma once

#include <QByteArray>
#include <QIODevice>

#include <cstdint>

struct TDirItem;

namespace zarecords {
struct LocalHeader;
}

namespace zaentry {

// True when a local header with the given signature lies at pos and agrees
// with the entry's directory record: the same name bytes, method, and (unless
// a data descriptor follows the data) CRC-32 and compressed size. A damaged
// header makes the tools reject the entry, whatever the directory says.
// header (may be null) receives what was read.
bool LocalHeaderMatches(QIODevice &stream, qint64 pos, uint32_t signature, const TDirItem &item,
                        zarecords::LocalHeader *header = nullptr);

// True when the data of an entry is there in full: the compressed bytes
// from dataStart are stored or inflate to the entry's uncompressed size, and
// their CRC-32 is the entry's. An interrupted write leaves a local header
// with sizes or a CRC that its data does not bear out. Encrypted data is
// checked through the password; without one it never counts as whole.
bool DataIsWhole(QIODevice &stream, qint64 dataStart, const TDirItem &item, const QByteArray &password);

} // namespace zaentry
