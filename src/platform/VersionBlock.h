#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace platform {

// The version strings CMake embeds in each program (ProductName,
// ProductVersion, FileDescription, FileVersion, LegalCopyright). They sit
// between two markers in the executable's file, so one program can show
// another program's version by reading that program's file.
class VersionBlock {
public:
    // The block of a program file; empty when the file cannot be read or
    // carries no block.
    static VersionBlock ofFile(const QString &programFile);
    // The block of the running program (empty before the application object
    // exists, since only it knows the program's file).
    static VersionBlock ofRunningProgram();

    // The markers around the block; built at run time so that the reader's
    // own code never holds a complete marker that a search could mistake for
    // a block.
    static QByteArray beginMarker();
    static QByteArray endMarker();

    bool isEmpty() const { return m_values.isEmpty(); }
    // The named value; empty when the block lacks it.
    QString value(const QString &name) const { return m_values.value(name); }

    QString productName() const { return value(QStringLiteral("ProductName")); }
    QString productVersion() const { return value(QStringLiteral("ProductVersion")); }
    QString fileDescription() const { return value(QStringLiteral("FileDescription")); }
    QString fileVersion() const { return value(QStringLiteral("FileVersion")); }
    QString legalCopyright() const { return value(QStringLiteral("LegalCopyright")); }

private:
    static VersionBlock parse(QByteArrayView body);

    QHash<QString, QString> m_values;
};

} // namespace platform
