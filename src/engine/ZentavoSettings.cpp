#include "ZentavoSettings.h"

#include "Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString DefaultDataFolder()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (!programFolder.isEmpty() && QFileInfo(programFolder).isWritable())
        return platform::withTrailingSeparator(QDir::toNativeSeparators(programFolder));
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataFolder);
    return platform::withTrailingSeparator(QDir::toNativeSeparators(dataFolder));
}

ZentavoSettings LoadZentavoSettings()
{
    ZentavoSettings settings;
    settings.Run.CheckBoxRep = true;
    settings.Run.CheckBoxRepAdd = true;
    settings.Run.ButtonRepDir = DefaultDataFolder();
    settings.Run.ProgramFolder = QCoreApplication::applicationDirPath();
    return settings;
}
