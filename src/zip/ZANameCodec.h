#pragma once

#include "zip/DirItem.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// Entry names and comments in the headers. ASCII names are stored as they
// are; other names in the OEM code page 866 (or 1251 when OEM names are off)
// when every character fits it, otherwise in UTF-8 with flag bit 11, so that
// no name is ever mangled or merged with another.
namespace zanames {

struct EncodedName {
    QByteArray bytes;
    bool utf8 = false;
};

EncodedName encode(const QString &name, bool oemNames);

// Decodes header bytes: UTF-8 when flag bit 11 is set, else the code page.
QString decode(const QByteArray &bytes, uint16_t flags, bool oemNames);

// Decodes an entry's name bytes. Systems other than DOS and Windows write
// their names in UTF-8 without flag bit 11 (Info-ZIP's zip on Linux does):
// valid UTF-8 from such a system is read as UTF-8, as the tools there read
// it. madeBy is the entry's "version made by", whose high byte names the
// system.
QString decodeName(const QByteArray &bytes, uint16_t flags, uint16_t madeBy, bool oemNames);

// The "version made by" of a local header, which does not tell the system.
inline constexpr uint16_t MadeOnDos = 0;
// The system an entry was made on by its "version made by", or Unix when
// its extra fields (each with its head) are those only Unix systems write:
// a directory rebuilt from the local headers names no system.
uint16_t madeByOf(uint16_t madeBy, const QByteArray &extra);
// The fields among extra that tell how to read the name (the Unicode Path,
// the Unix fields), as they are: a directory rebuilt from the local
// headers keeps them, so its entries read as the lost directory's did.
QList<TZAExtraField> fieldsNamingTheEntry(const QByteArray &extra);

// Gives item its name: the name, the bytes that stand for it (with flag bit
// 11 when they are UTF-8) and, for a name that is not plain ASCII, the
// Unicode Path extra field. Readers on other systems take a code-page name
// for their own code page; the field gives them the name itself, bound to
// the header bytes by their CRC-32. The field is made here, with the bytes,
// and from then on travels with the entry like any other extra field: an
// entry this archiver did not name never gets one.
void nameItem(TDirItem &item, const QString &name, bool oemNames);

inline constexpr uint16_t UnicodePathExtraId = 0x7075;

// The name a Unicode Path field's data carries, when the field belongs to
// these header bytes; a null text for a stale or damaged field.
QString unicodePathName(const QByteArray &data, const QByteArray &bytes);

} // namespace zanames
