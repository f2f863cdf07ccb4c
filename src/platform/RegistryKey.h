#pragma once

#include "platform/RegistryFormat.h"

#include <QString>

#include <memory>
#include <optional>

namespace platform {

// One key of the current user's settings, with the semantics the programs
// expect of the registry: a key holds named values that are either 32-bit
// integers or strings; a typed read fails when the value has another type;
// an absent string reads as empty, an absent integer fails.
//
// On Windows this is the registry key itself (QSettings' native format); here
// it is a key of the store file documented in docs/settings-format.md, read
// whole at open and replaced whole, through the durable replace, at flush:
// a save that fails (a full disk) leaves the file as it was and says so.
class RegistryKey {
public:
    enum class Mode { OpenExisting, OpenOrCreate };

    // The key at path below the current user's root, written as the system
    // writes it ("\Software\Omberly Soft\The Zentavo\Vorrin\"). Nothing when
    // the key does not exist and may not be created, or the store cannot be
    // read or written; error, when given, then says why.
    static std::unique_ptr<RegistryKey> open(const QString &path, Mode mode, QString *error = nullptr);
    // A key that holds nothing and keeps nothing: what a load reads where
    // the store cannot be opened, so every value takes its default.
    static std::unique_ptr<RegistryKey> empty();

    ~RegistryKey();
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;

    // Nothing when the value is absent or not an integer.
    std::optional<qint32> readInteger(const QString &name) const;
    // Empty when the value is absent; nothing when it is not a string.
    std::optional<QString> readString(const QString &name) const;
    // A value of that name exists, of whatever type.
    bool holds(const QString &name) const;

    void writeInteger(const QString &name, qint32 value);
    void writeString(const QString &name, const QString &value);
    // Stores what was written; false when the store could not be written,
    // and errorString says why.
    bool flush();
    QString errorString() const;

    struct Store;

private:
    explicit RegistryKey(std::unique_ptr<Store> store);

    std::unique_ptr<Store> m_store;
};

// The file that holds the store: "registry" in the folder "zentavo" of the
// user's config folder, unless setRegistryFolder chose another folder.
QString registryFileName();

// Points the store at another folder (tests); an empty text restores the
// user's config folder.
void setRegistryFolder(const QString &folder);

// Where the store file is damaged; nothing when it is intact or absent. A
// damaged store opens no key, so no save ever writes over it.
std::optional<registryformat::Damage> registryDamage();

} // namespace platform
