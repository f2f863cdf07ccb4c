#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringView>

#include <optional>

// The language file: an INI file in code page 1251, shared with the Windows
// build, or in UTF-8 (see TextEncoding.h). Section and key names compare without regard to case; a value is
// everything after the first "=" with the blanks around it removed, taken
// literally, so that commas, backslashes, "%" and ";" in a translated
// message stay as the translator wrote them.
class LanguageFile {
public:
    // An empty file (every read gives its fallback).
    LanguageFile() = default;

    // The file's values; a file that is missing or cannot be read has none,
    // because the built-in texts then simply stay.
    static LanguageFile load(const QString &path);

    // The values of file content.
    static LanguageFile parse(const QByteArray &bytes);

    // The value of a present key, also when it is empty.
    std::optional<QString> value(QStringView section, QStringView key) const;

    // The value of the key, or the fallback when the key is missing.
    QString read(QStringView section, QStringView key, const QString &fallback) const;

private:
    // Folded section name -> folded key name -> value.
    QHash<QString, QHash<QString, QString>> m_sections;
};
