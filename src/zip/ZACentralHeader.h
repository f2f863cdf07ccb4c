#pragma once

#include "zip/DirItem.h"
#include "zip/ZARecords.h"

#include <QByteArray>

// The central header of one item and its extra fields, in both directions.
namespace zacentral {

// The header with name, extra fields (a regenerated Zip64 extra first,
// then the item's own fields as far as they fit) and comment.
QByteArray encode(const TDirItem &item, uint32_t signature);

// The fields, each with its head, that fit in a header's extra length
// beside taken bytes of fields written before them, in their order. What
// does not fit is left out, the fields of other tools before the Unicode
// Path of the name: a length that wrapped past 65535 would make the whole
// directory unreadable.
QByteArray fittingExtraFields(const QList<TZAExtraField> &fields, qsizetype taken);

// Reads one header at offset of data into item; answers the bytes it took,
// 0 when the data there is no complete central header.
qsizetype decode(const QByteArray &data, qsizetype offset, uint32_t signature, bool oemNames, TDirItem &item);

// Reads a Zip64 extra (id 1) into the fields whose header value is the
// overflow mark, in the order the format fixes; short data leaves the rest.
void readZip64Extra(const QByteArray &data, bool sizeOverflow, bool compressedOverflow, bool offsetOverflow,
                    bool diskOverflow, TDirItem &item);

// The data of the first extra field with the given id among extra; null
// when there is none.
QByteArray findExtraField(const QByteArray &extra, uint16_t id);

// Takes the sizes of a local header into item: the header's own, or those
// of the Zip64 extra among its extra fields where the header shows the
// overflow mark. False when a size is marked so and no extra holds it.
bool readLocalSizes(const zarecords::LocalHeader &header, const QByteArray &extra, TDirItem &item);

} // namespace zacentral
