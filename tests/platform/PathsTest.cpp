#include "platform/Paths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Paths, EveryProgramOfTheSuiteSharesOneUserDataFolder)
{
    QTemporaryDir dir;
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    const QString oldName = QCoreApplication::applicationName();
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));

    QStringList folders;
    for (const char *program : {"Zentavo", "Vorrin", "Pelvaro"}) {
        QCoreApplication::setApplicationName(QString::fromLatin1(program));
        folders << platform::userDataFolder();
    }
    QCoreApplication::setApplicationName(oldName);
    qputenv("XDG_DATA_HOME", oldData);

    const QString expected = dir.filePath(QStringLiteral("Zentavo/"));
    EXPECT_EQ(folders, (QStringList{expected, expected, expected}));
    EXPECT_TRUE(QFileInfo(expected).isDir());
}

TEST(Paths, AnEmptyTemporaryFolderSettingStandsForTheSystemsOne)
{
    QTemporaryDir dir;
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    EXPECT_EQ(platform::temporaryFolder(), dir.path());
    EXPECT_EQ(platform::temporaryFolder(QStringLiteral("/work/temp/")), QStringLiteral("/work/temp/"));
    if (oldTemp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTemp);
}

TEST(Paths, ASuiteFileIsFoundInItsFolderWithOrWithoutTheSeparator)
{
    const struct {
        const char *folder;
        const char *path;
    } cases[] = {
        {"/var/reports/", "/var/reports/Report.txt"},
        {"/var/reports", "/var/reports/Report.txt"},
        {"", "Report.txt"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(platform::fileInFolder(QString::fromUtf8(c.folder), QStringLiteral("Report.txt")),
                  QString::fromUtf8(c.path))
            << c.folder;
}
