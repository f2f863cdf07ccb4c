#pragma once

#include "platform/DriveInfo.h"

#include <QDir>
#include <QFileInfo>

// Drives as a test has them: what lies in the folder (or below it) is on a
// removable drive, everything else on fixed ones. Installed for the lifetime
// of the object; the system's drive types come back afterwards.
class RemovableFolder {
public:
    explicit RemovableFolder(const QString &folder)
    {
        platform::setDriveTypes(std::make_unique<Types>(QDir::cleanPath(QFileInfo(folder).absoluteFilePath())));
    }
    ~RemovableFolder() { platform::setDriveTypes(nullptr); }
    RemovableFolder(const RemovableFolder &) = delete;
    RemovableFolder &operator=(const RemovableFolder &) = delete;

private:
    class Types final : public platform::DriveTypes {
    public:
        explicit Types(QString folder) : m_folder(std::move(folder)) {}
        bool isRemovable(const QString &path) const override
        {
            const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
            return clean == m_folder || clean.startsWith(m_folder + u'/');
        }

    private:
        QString m_folder;
    };
};
