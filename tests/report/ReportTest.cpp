#include "report/ReportFile.h"
#include "report/ReportFilters.h"
#include "report/ReportLines.h"

#include "ScarceSpace.h"
#include "TestFiles.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

using report::Separator;

namespace {

// A finished run with three enabled jobs: ok, error, fatal.
QStringList finishedRun()
{
    return {QStringLiteral("t  Begin"),
            QStringLiteral("Saved Report.bak"),
            Separator,
            QStringLiteral("Job A"),
            QStringLiteral("a1"),
            Separator,
            QStringLiteral("Job B"),
            QStringLiteral("b1"),
            QStringLiteral("b2"),
            Separator,
            QStringLiteral("Job C"),
            Separator,
            QStringLiteral("A - Ok!"),
            QStringLiteral("B - Error!"),
            QStringLiteral("C - Fatal error!!!"),
            Separator,
            QStringLiteral("t  End"),
            QString()};
}

} // namespace

TEST(ReportFilters, ErrorsOnlyKeepsTheFailedSections)
{
    QStringList lines = finishedRun();
    ASSERT_TRUE(report::OnlyErrorsRep(lines, {0, 1, 2}, 2));
    EXPECT_EQ(
        lines,
        QStringList({QStringLiteral("Job B"), QStringLiteral("b1"), QStringLiteral("b2"), QStringLiteral("Job C")}));

    QStringList ok = finishedRun();
    EXPECT_FALSE(report::OnlyErrorsRep(ok, {0, 0, 0}, 0));
    EXPECT_EQ(ok, finishedRun());
}

TEST(ReportFilters, SummaryOnlyKeepsStartAndSummary)
{
    QStringList lines = finishedRun();
    report::SumRep(lines, 3);
    EXPECT_EQ(
        lines,
        QStringList({QStringLiteral("t  Begin"), Separator, QStringLiteral("A - Ok!"), QStringLiteral("B - Error!"),
                     QStringLiteral("C - Fatal error!!!"), Separator, QStringLiteral("t  End")}));
}

TEST(ReportFilters, ShortOrOddReportsDoNotBreakTheFilters)
{
    QStringList lines{QStringLiteral("only")};
    EXPECT_TRUE(report::OnlyErrorsRep(lines, {1, 1}, 1));
    EXPECT_TRUE(lines.isEmpty());
    QStringList empty;
    report::SumRep(empty, 4);
    EXPECT_TRUE(empty.isEmpty());
}

TEST(ReportFile, SavesThePreviousReportAndAppendsOrRewrites)
{
    QTemporaryDir dir;
    ReportFile file;
    // First run ever: nothing to back up.
    EXPECT_FALSE(file.start(dir.path(), true));
    file.write(QStringLiteral(u"first \u0416"));
    file.close();

    EXPECT_TRUE(file.start(dir.path(), true));
    file.write(QStringLiteral("second"));
    file.close();
    const QString path = dir.filePath(ReportFile::FileName);
    EXPECT_EQ(testfiles::readBytes(path), QByteArray("first \xD0\x96\r\nsecond\r\n"));
    EXPECT_EQ(testfiles::readBytes(dir.filePath(ReportFile::BackupName)), QByteArray("first \xD0\x96\r\n"));

    EXPECT_TRUE(file.start(dir.path(), false));
    file.write(QStringLiteral("third"));
    file.close();
    EXPECT_EQ(testfiles::readBytes(path), QByteArray("third\r\n"));
}

// The report folder of the settings may be named in code page 1251 on an
// old disk: the report, its backup and its trimming land there.
TEST(ReportFile, AFolderNamedInAnotherCodePageGetsTheReport)
{
    QTemporaryDir dir;
    const QByteArray folderBytes = QFile::encodeName(dir.path()) + "/\xCE\xF2\xF7\xE5\xF2\xFB"; // "Отчеты"
    ASSERT_EQ(::mkdir(folderBytes.constData(), 0700), 0);
    const QString folder = platform::fileNameFromBytes(folderBytes) + u'/';
    const auto read = [](const QString &path) {
        QFile file;
        return platform::openFile(file, path, QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    };
    ReportFile file;
    EXPECT_FALSE(file.start(folder, true));
    EXPECT_TRUE(file.isOpen());
    file.write(QStringLiteral("first"));
    file.close();
    EXPECT_TRUE(file.start(folder, false));
    file.write(QStringLiteral("second"));
    file.write(QStringLiteral("third"));
    file.close();
    EXPECT_EQ(read(folder + ReportFile::FileName), QByteArray("second\r\nthird\r\n"));
    EXPECT_EQ(read(folder + ReportFile::BackupName), QByteArray("first\r\n"));

    file.start(folder, true);
    file.write(QString(600, u'x'));
    file.write(QString(600, u'y'));
    file.close();
    EXPECT_TRUE(CheckRepSize(folder + ReportFile::FileName, 1));
    EXPECT_EQ(read(folder + ReportFile::FileName), QByteArray(600, 'y') + "\r\n");
    // Qt cannot see such a name to remove it.
    std::filesystem::remove_all(platform::nativePath(folder));
}

TEST(ReportFile, UnopenableFileIsTurnedOffAndWritingGoesOn)
{
    QTemporaryDir dir;
    ReportFile file;
    file.start(dir.filePath(QStringLiteral("missing/folder")), true);
    EXPECT_FALSE(file.isOpen());
    file.write(QStringLiteral("lost in the window only"));
    file.reopenForAppend();
    EXPECT_FALSE(file.isOpen());
}

TEST(ReportFile, TrimsWholeLinesFromTheTop)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(ReportFile::FileName);
    QByteArray content;
    for (int i = 0; i < 100; ++i)
        content += QByteArray::number(i).rightJustified(48, '.') + "\r\n"; // 50 bytes a line
    testfiles::writeBytes(path, content);

    CheckRepSize(path, 0);
    EXPECT_EQ(testfiles::readBytes(path), content);
    CheckRepSize(path, 1);
    const QByteArray trimmed = testfiles::readBytes(path);
    EXPECT_EQ(trimmed.size(), 1000); // 20 whole lines of 50 bytes
    EXPECT_TRUE(content.endsWith(trimmed));
    CheckRepSize(path, 1);
    EXPECT_EQ(testfiles::readBytes(path), trimmed);
}

TEST(ReportFile, TrimmingOnAFullDiskKeepsTheReport)
{
    ScarceSpace space;
    const QString path = space.folder() + ReportFile::FileName;
    QByteArray content;
    for (int i = 0; i < 400; ++i)
        content += QByteArray::number(i).rightJustified(48, '.') + "\r\n"; // 20,000 bytes
    testfiles::writeBytes(path, content);
    SKIP_UNLESS_EXHAUSTED(space, 4 * 1024);

    EXPECT_FALSE(CheckRepSize(path, 12));
    EXPECT_EQ(testfiles::readBytes(path), content);
}

TEST(ReportFile, EachLineReachesTheFileAsItIsAdded)
{
    QTemporaryDir dir;
    ReportFile file;
    file.start(dir.path(), false);
    file.write(QStringLiteral("first"));
    // Read by another handle while the run still holds the file open, as
    // tail -f or a killed program's leftovers show it.
    EXPECT_EQ(testfiles::readBytes(dir.filePath(ReportFile::FileName)), QByteArray("first\r\n"));
    file.write(QStringLiteral("second"));
    EXPECT_EQ(testfiles::readBytes(dir.filePath(ReportFile::FileName)), QByteArray("first\r\nsecond\r\n"));
}

// Rewriting the report on a full disk: there is no room for the copy, yet
// the previous report survives whole, as the backup or under the new lines.
TEST(ReportFile, AFullDiskNeverCostsThePreviousReport)
{
    QByteArray previous;
    for (int i = 0; i < 4000; ++i)
        previous += QByteArray::number(i).rightJustified(48, '.') + "\r\n"; // 200,000 bytes
    for (const bool renameFails : {false, true}) {
        ScarceSpace space;
        const QString report = space.folder() + ReportFile::FileName;
        const QString backup = space.folder() + ReportFile::BackupName;
        testfiles::writeBytes(report, previous);
        if (renameFails) {
            ASSERT_TRUE(QDir(space.folder()).mkpath(ReportFile::BackupName + QStringLiteral("/in")));
        }
        SKIP_UNLESS_EXHAUSTED(space, 4 * 1024);

        ReportFile file;
        const bool saved = file.start(space.folder(), false);
        file.write(QStringLiteral("new run"));
        file.close();
        EXPECT_EQ(saved, !renameFails);
        if (renameFails) {
            EXPECT_TRUE(testfiles::readBytes(report).startsWith(previous));
        } else {
            EXPECT_EQ(testfiles::readBytes(backup), previous);
        }
    }
}

TEST(ReportFile, TheOlderBackupStaysWhenTheReportCannotBeCopied)
{
    QTemporaryDir dir;
    const QString backup = dir.filePath(ReportFile::BackupName);
    testfiles::writeBytes(backup, "older report\r\n");
    ReportFile file;
    // No report at all, then one that cannot be read.
    EXPECT_FALSE(file.start(dir.path(), true));
    file.close();
    EXPECT_EQ(testfiles::readBytes(backup), QByteArray("older report\r\n"));
    const QString report = dir.filePath(ReportFile::FileName);
    QFile::remove(report);
    ASSERT_TRUE(QDir(dir.path()).mkdir(ReportFile::FileName));
    EXPECT_FALSE(file.start(dir.path(), true));
    EXPECT_EQ(testfiles::readBytes(backup), QByteArray("older report\r\n"));
}

// Rewriting the report on a disk that fills up during the run: the failure
// is told once, and neither this run nor the next lets the empty or cut-off
// report replace the complete previous one in "Report.bak".
TEST(ReportFile, AReportCutOffByAFullDiskNeverBecomesTheBackup)
{
    QByteArray previous;
    for (int i = 0; i < 4000; ++i)
        previous += QByteArray::number(i).rightJustified(48, '.') + "\r\n"; // 200,000 bytes
    // Nothing written; the disk full right at a line's start; full within a line.
    const std::pair<qint64, int> cases[] = {{0, 62}, {4096, 62}, {4096, 48}};
    for (const auto &[room, lineLength] : cases) {
        SCOPED_TRACE(lineLength);
        const QString line(lineLength, u'n');
        ScarceSpace space;
        const QString report = space.folder() + ReportFile::FileName;
        const QString backup = space.folder() + ReportFile::BackupName;
        testfiles::writeBytes(report, previous);
        SKIP_UNLESS_EXHAUSTED(space, room);

        ReportFile file;
        file.start(space.folder(), false);
        int failures = 0;
        for (int i = 0; i < 200; ++i)
            failures += file.write(line) ? 0 : 1;
        file.close();
        EXPECT_EQ(failures, 1);
        const QByteArray cutOff = testfiles::readBytes(report);

        // The next run, still on a full disk.
        EXPECT_FALSE(file.start(space.folder(), false));
        file.write(line);
        file.close();
        EXPECT_EQ(testfiles::readBytes(backup), previous);
        EXPECT_TRUE(testfiles::readBytes(report).startsWith(cutOff));
    }
}
