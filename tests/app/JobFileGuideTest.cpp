// The example job file of docs/job-file.md, run by the real main program
// with Anna's home folder moved into a temporary folder: it does what the
// page says it does.
#include "SuiteUser.h"
#include "TestApplication.h"
#include "TestFiles.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

// The lines of the page's one "dat" block.
QStringList exampleLines()
{
    const QStringList page
        = QString::fromUtf8(testfiles::readBytes(QStringLiteral(SOURCE_DIR "/docs/job-file.md"))).split(u'\n');
    const qsizetype start = page.indexOf(QStringLiteral("```dat"));
    const qsizetype end = page.indexOf(QStringLiteral("```"), start + 1);
    return start < 0 || end < 0 ? QStringList() : page.mid(start + 1, end - start - 1);
}

QStringList archiveEntries(const QString &archive)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive});
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0)
        return {QStringLiteral("unreadable archive")};
    return QString::fromUtf8(unzip.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

TEST(JobFileGuideTest, TheExampleRunsAsThePageDescribesIt)
{
    testapp::application();
    SuiteUser user;
    const QString home = user.path(QStringLiteral("anna"));
    for (const char *file : {"Documents/letter.txt", "Documents/draft.tmp", "Documents/old.bak", "Documents/~lock.txt",
                             "Pictures/photo.jpg", "Pictures/raw.png", ".config/notes.txt"}) {
        const QString path = home + u'/' + QString::fromLatin1(file);
        QDir().mkpath(QFileInfo(path).path());
        testfiles::writeBytes(path, file);
    }
    QDir().mkpath(home + QStringLiteral("/backup"));
    QStringList lines = exampleLines();
    ASSERT_GT(lines.size(), 10);
    for (QString &line : lines)
        line.replace(QStringLiteral("/home/anna"), home);
    const QString jobFile = home + QStringLiteral("/backup/anna.dat");
    testfiles::writeBytes(jobFile, testfiles::cp1251Lines(lines));
    auto key = SuiteUser::mainKey();
    key->writeString(QStringLiteral("ReportDir"), user.path(QString()));
    ASSERT_TRUE(key->flush());

    EXPECT_EQ(user.run(QStringLiteral(ZENTAVO_PROGRAM), {QStringLiteral("/run"), QStringLiteral("/close"), jobFile}), 0)
        << user.errors.constData();

    const QString report = QString::fromUtf8(testfiles::readBytes(user.path(QStringLiteral("Report.txt"))));
    EXPECT_TRUE(report.contains(QStringLiteral("Documents - Ok!"))) << qPrintable(report);
    EXPECT_TRUE(report.contains(QStringLiteral("Settings of the week - Ok!"))) << qPrintable(report);

    // One archive named by the run's date, with the sources less their
    // exclusions and the file the command before archiving copied in.
    const QStringList archives
        = QDir(home + QStringLiteral("/backup")).entryList({QStringLiteral("Documents_*-*-*.zip")});
    ASSERT_EQ(archives.size(), 1) << qPrintable(archives.join(u' '));
    QStringList entries = archiveEntries(home + QStringLiteral("/backup/") + archives.first());
    entries.sort();
    EXPECT_EQ(entries,
              (QStringList{QStringLiteral("Documents/letter.txt"), QStringLiteral("Documents/notes.txt"),
                           QStringLiteral("Pictures/photo.jpg")}));
    EXPECT_EQ(archiveEntries(home + QStringLiteral("/backup/settings.zip")),
              QStringList{QStringLiteral(".config/notes.txt")});

    // The daily copies of both jobs and the program the first job started.
    EXPECT_TRUE(QFileInfo::exists(home + QStringLiteral("/mirror/") + archives.first()));
    EXPECT_TRUE(QFileInfo::exists(home + QStringLiteral("/mirror/settings.zip")));
    EXPECT_TRUE(QFileInfo::exists(home + QStringLiteral("/backup/started")));
}
