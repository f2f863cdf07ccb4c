#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// The two code pages of the Windows build: the ANSI code page 1251 (job
// files, the language file, ZIP names when OEM names are off) and the OEM
// code page 866 (ZIP names). Each is a table of its own, so text reads and
// writes the same whichever converters Qt was built with.
namespace codepage {

enum class CodePage { Windows1251, Dos866 };

// Every byte stands for one character: 0x00-0x7F for itself, the rest as
// the page's table says.
QString decode(QByteArrayView bytes, CodePage page);

// The bytes of the text, or nothing when a character has no form in the
// page: such text is never replaced silently.
std::optional<QByteArray> encode(QStringView text, CodePage page);

// The page a MIME charset name stands for, in any case ("windows-1251",
// "cp1251", "IBM866", "cp866", ...); nothing for any other charset.
std::optional<CodePage> forCharset(QByteArrayView charset);

} // namespace codepage
