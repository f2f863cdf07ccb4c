#pragma once

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

// Readers on other systems take a code-page name for their own code page;
// the Unicode Path extra field beside it gives them the name itself, bound
// to the header bytes by their CRC-32. The whole field (head included) for
// a name that is not plain ASCII, else empty.
inline constexpr uint16_t UnicodePathExtraId = 0x7075;
QByteArray unicodePathExtra(const QString &name, const QByteArray &bytes);

// The name a Unicode Path field's data carries, when the field belongs to
// these header bytes; a null text for a stale or damaged field.
QString unicodePathName(const QByteArray &data, const QByteArray &bytes);

} // namespace zanames
