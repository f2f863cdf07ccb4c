#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Job files and the language file are code page 1251 bytes, so that they stay
// readable and writable by the Windows build.
namespace cp1251 {

QString decode(const QByteArray &bytes);

// The bytes of the text, or nothing when a character has no code page 1251
// form: such text is never replaced silently.
std::optional<QByteArray> encode(const QString &text);

} // namespace cp1251
