#pragma once

#include <QByteArray>
#include <QSettings>

#include <optional>

// The text form of the settings store on Linux, documented in
// docs/settings-format.md. Unlike QSettings' INI format it keeps each
// value's type (32-bit integer or string), never splits a value at commas and
// knows empty keys, which the registry semantics of the programs rely on.
//
// In the QSettings map a value of key "A\B" named "N" is the entry "A/B/N"
// holding an int or a QString; an existing key is the entry "A/B" holding an
// invalid QVariant.
namespace platform::registryformat {

// The map of a store text, or nothing when the text is damaged.
std::optional<QSettings::SettingsMap> parse(const QByteArray &text);

// Where a damaged text goes wrong first: its line number (from 1) and at
// most about 80 characters of that line, control characters written \xNN.
// A value whose path is also a key's is damage too: one of them would be lost.
struct Damage {
    int line = 0;
    QString text;
};
// Nothing for an intact text.
std::optional<Damage> damageOf(const QByteArray &text);

// The store text of a map, or nothing when it holds a value of another type.
std::optional<QByteArray> write(const QSettings::SettingsMap &map);

} // namespace platform::registryformat
