#include "editor/JobFileFormat.h"

#include "ScarceSpace.h"
#include "TestFiles.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <unistd.h>

using namespace pelvo;

namespace {

class JobFileFormatTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("jobs.dat")); }
    QTemporaryDir dir;
};

JobList sampleJobs()
{
    JobList jobs;
    TBlock block;
    block.SetStr(ArchiveName, QStringLiteral("/arc/home"));
    block.Sources = {QStringLiteral("/home/a"), QStringLiteral("/home/b/*.txt")};
    block.Exclusions = {QStringLiteral("*.tmp|*.bak"), QString()};
    block.Dests << QStringLiteral("/mnt/copy/=135");
    block.ExtCopies << QStringLiteral(u"\u041D>/mnt/week/=1") << QStringLiteral("m>/mnt/month/=1");
    block.Cmds << QStringLiteral("CMD2>notify-send done=06") << QStringLiteral("CMD1>CCPY \"/a\" TO \"/b\"=");
    jobs.names << QStringLiteral(u"\u0414\u043E\u043C");
    jobs.blocks.push_back(block);
    return jobs;
}

} // namespace

TEST_F(JobFileFormatTest, WritesTheLinesInFileOrder)
{
    ASSERT_EQ(SaveJobFile(path(), sampleJobs()), QString());
    const QStringList lines = testfiles::linesOfCp1251(testfiles::readBytes(path()));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_NE(lines.first(), QStringLiteral(">"));
    EXPECT_EQ(lines.mid(1),
              QStringList({QStringLiteral(">"), QStringLiteral(u"\u0414\u043E\u043C"), QStringLiteral("/arc/home"),
                           QStringLiteral("D=/home/a"), QStringLiteral("D=/home/b/*.txt"), QStringLiteral("C="),
                           QStringLiteral("E=*.tmp|*.bak"), QStringLiteral("E="), QStringLiteral("/mnt/copy/=135"),
                           QStringLiteral("W=/mnt/week/=1"), QStringLiteral("M=/mnt/month/=1"),
                           QStringLiteral("CMD2=notify-send done=06"), QStringLiteral("CMD1=CCPY \"/a\" TO \"/b\"=")}));
}

TEST_F(JobFileFormatTest, ReadsBackWhatItWrote)
{
    const JobList jobs = sampleJobs();
    ASSERT_EQ(SaveJobFile(path(), jobs), QString());
    const std::optional<JobList> read = ReadJobFile(path());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->names, jobs.names);
    ASSERT_EQ(read->blocks.size(), 1u);
    const TBlock &b = read->blocks[0];
    EXPECT_EQ(b.GetStr(ArchiveName), QStringLiteral("/arc/home"));
    EXPECT_EQ(b.Sources, jobs.blocks[0].Sources);
    EXPECT_EQ(b.Exclusions, jobs.blocks[0].Exclusions);
    EXPECT_EQ(b.Dests, jobs.blocks[0].Dests);
    EXPECT_EQ(b.ExtCopies, QStringList({QStringLiteral("W>/mnt/week/=1"), QStringLiteral("M>/mnt/month/=1")}));
    EXPECT_EQ(b.Cmds, jobs.blocks[0].Cmds);
}

TEST_F(JobFileFormatTest, OlderKeysAndLowerCaseAreWrittenBackInTheCurrentForm)
{
    testfiles::writeBytes(
        path(),
        testfiles::cp1251Lines({QStringLiteral("old"), QStringLiteral(">"), QStringLiteral("J"), QStringLiteral("a"),
                                QStringLiteral(u"\u0414:/s"), QStringLiteral("// dropped"), QStringLiteral("c=note"),
                                QStringLiteral(u"\u0418:*.o"), QStringLiteral(u"\u041D:/w/=0"),
                                QStringLiteral("cmd1=ls=")}));
    const std::optional<JobList> read = ReadJobFile(path());
    ASSERT_TRUE(read);
    ASSERT_EQ(SaveJobFile(path(), *read), QString());
    const QStringList lines = testfiles::linesOfCp1251(testfiles::readBytes(path()));
    EXPECT_EQ(lines.mid(1),
              QStringList({QStringLiteral(">"), QStringLiteral("J"), QStringLiteral("a"), QStringLiteral("D=/s"),
                           QStringLiteral("C=note"), QStringLiteral("E=*.o"), QStringLiteral("W=/w/=0"),
                           QStringLiteral("CMD1=ls=")}));
}

TEST_F(JobFileFormatTest, KeepsOnePreviousVersion)
{
    JobList jobs = sampleJobs();
    ASSERT_EQ(SaveJobFile(path(), jobs), QString());
    const QByteArray first = testfiles::readBytes(path());
    jobs.names[0] = QStringLiteral("Second");
    ASSERT_EQ(SaveJobFile(path(), jobs), QString());
    EXPECT_EQ(testfiles::readBytes(dir.filePath(QStringLiteral("jobs.BAK"))), first);
    const QByteArray second = testfiles::readBytes(path());
    jobs.names[0] = QStringLiteral("Third");
    ASSERT_EQ(SaveJobFile(path(), jobs), QString());
    EXPECT_EQ(testfiles::readBytes(dir.filePath(QStringLiteral("jobs.BAK"))), second);
    EXPECT_FALSE(QFile::exists(path() + QStringLiteral(".new")));
}

TEST_F(JobFileFormatTest, RefusesTextOutsideTheCodePageAndKeepsTheOldFile)
{
    ASSERT_EQ(SaveJobFile(path(), sampleJobs()), QString());
    const QByteArray before = testfiles::readBytes(path());
    JobList jobs = sampleJobs();
    jobs.blocks[0].Sources << QStringLiteral(u"/home/\u65E5\u672C");
    const QString error = SaveJobFile(path(), jobs);
    EXPECT_TRUE(error.contains(QStringLiteral(u"\u65E5\u672C"))) << error.toStdString();
    EXPECT_EQ(testfiles::readBytes(path()), before);
}

TEST_F(JobFileFormatTest, UnwritableFolderFailsWithAMessage)
{
    const QString missing = dir.filePath(QStringLiteral("no/such/jobs.dat"));
    EXPECT_FALSE(SaveJobFile(missing, sampleJobs()).isEmpty());
    EXPECT_FALSE(ReadJobFile(missing));
}

TEST(BackupFileName, ReplacesTheExtension)
{
    EXPECT_EQ(backupFileName(QStringLiteral("/a/jobs.dat")), QStringLiteral("/a/jobs.BAK"));
    EXPECT_EQ(backupFileName(QStringLiteral("/a.b/jobs")), QStringLiteral("/a.b/jobs.BAK"));
}

TEST_F(JobFileFormatTest, RefusesWhatWouldNotReadBackTheSame)
{
    ASSERT_EQ(SaveJobFile(path(), sampleJobs()), QString());
    const QByteArray before = testfiles::readBytes(path());

    const std::vector<std::function<void(JobList &)>> breakers{
        [](JobList &j) { j.names[0] = QString(); },
        [](JobList &j) { j.names[0] = QStringLiteral(">"); },
        [](JobList &j) { j.names[0] = QStringLiteral("// old"); },
        [](JobList &j) { j.blocks[0].SetStr(ArchiveName, QString()); },
        [](JobList &j) { j.blocks[0].SetStr(Comment, QStringLiteral("two\r\nlines")); },
        [](JobList &j) { j.blocks[0].Sources.clear(); },
        [](JobList &j) { j.blocks[0].Dests << QStringLiteral("=135"); },
        [](JobList &j) { j.blocks[0].Dests << QStringLiteral("W=1"); },
        [](JobList &j) { j.blocks[0].Dests << QStringLiteral("cmd1/x=1"); },
        [](JobList &j) { j.blocks[0].Dests << QStringLiteral("//host/share/=1"); },
        [](JobList &j) { j.blocks[0].ExtCopies << QStringLiteral("X>/x/=1"); },
        [](JobList &j) { j.blocks[0].ExtCopies << QStringLiteral("W>=1"); },
        [](JobList &j) { j.blocks[0].Cmds << QStringLiteral("ls -l=06"); },
        // "=" typed into a folder or command: a reader would give the rest to the days or the flag.
        [](JobList &j) { j.blocks[0].Dests << QStringLiteral("/a=b/=135"); },
        [](JobList &j) { j.blocks[0].ExtCopies << QStringLiteral("W>/a=b/=1"); },
        [](JobList &j) { j.blocks[0].Cmds << QStringLiteral("CMD1>tar cf=x.tar /home=06"); },
    };
    for (std::size_t i = 0; i < breakers.size(); ++i) {
        JobList jobs = sampleJobs();
        breakers[i](jobs);
        EXPECT_FALSE(SaveJobFile(path(), jobs).isEmpty()) << "case " << i;
        EXPECT_EQ(testfiles::readBytes(path()), before) << "case " << i;
    }
}

TEST(SaveRefusal, NamesTheJobAndThePlaceOfTheFirstRefusedText)
{
    struct Case {
        std::function<void(TBlock &)> breaker;
        JobPlace place;
        int line;
    };
    const std::vector<Case> cases{
        {[](TBlock &b) { b.SetStr(ArchiveName, QStringLiteral("// old")); }, JobPlace::ArchiveName, 0},
        {[](TBlock &b) { b.Sources << QStringLiteral(u"/home/\u65E5"); }, JobPlace::Source, 2},
        {[](TBlock &b) { b.SetStr(Comment, QStringLiteral("two\nlines")); }, JobPlace::Comment, 0},
        {[](TBlock &b) { b.Exclusions[1] = QStringLiteral(u"\u65E5"); }, JobPlace::Exclusions, 1},
        {[](TBlock &b) { b.Dests << QStringLiteral("C=second comment"); }, JobPlace::Destination, 1},
        {[](TBlock &b) { b.ExtCopies[1] = QStringLiteral("X>/x/=1"); }, JobPlace::ExtraCopy, 1},
        {[](TBlock &b) { b.Cmds << QStringLiteral("ls -l=06"); }, JobPlace::Command, 2},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        JobList jobs = sampleJobs();
        jobs.names << QStringLiteral("Second");
        jobs.blocks.push_back(jobs.blocks[0]);
        cases[i].breaker(jobs.blocks[1]);
        const std::optional<SaveRefusal> refusal = FindSaveRefusal(jobs);
        ASSERT_TRUE(refusal) << "case " << i;
        EXPECT_EQ(refusal->job, 1) << "case " << i;
        EXPECT_EQ(refusal->place, cases[i].place) << "case " << i;
        EXPECT_EQ(refusal->line, cases[i].line) << "case " << i;
        EXPECT_FALSE(refusal->reason.isEmpty()) << "case " << i;
    }
    EXPECT_FALSE(FindSaveRefusal(sampleJobs()));
}

TEST_F(JobFileFormatTest, FailedWriteKeepsTheOldFile)
{
    ASSERT_EQ(SaveJobFile(path(), sampleJobs()), QString());
    const QByteArray before = testfiles::readBytes(path());
    // The old file cannot become the backup: a folder is in the way.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("jobs.BAK")));
    JobList jobs = sampleJobs();
    jobs.names[0] = QStringLiteral("Changed");
    EXPECT_FALSE(SaveJobFile(path(), jobs).isEmpty());
    EXPECT_EQ(testfiles::readBytes(path()), before);
}

TEST(JobFileOnAFullDisk, FailsAndKeepsTheOldFileAndItsBackup)
{
    ScarceSpace space;
    const QString path = space.folder() + QStringLiteral("jobs.dat");
    ASSERT_EQ(SaveJobFile(path, sampleJobs()), QString());
    const QByteArray before = testfiles::readBytes(path);
    JobList jobs = sampleJobs();
    for (int i = 0; i < 400; ++i)
        jobs.blocks[0].Sources << QStringLiteral("/home/source/folder/number/%1").arg(i);
    SKIP_UNLESS_EXHAUSTED(space, 3 * before.size());

    EXPECT_FALSE(SaveJobFile(path, jobs).isEmpty());
    EXPECT_EQ(testfiles::readBytes(path), before);
}

TEST_F(JobFileFormatTest, ReaderDropsLinesWithoutFolderAndEmptyLines)
{
    testfiles::writeBytes(path(), QByteArray(">\nJ\na\nD=/s\nC=\n\n=135\nW=\nw==1\n/ok=1\n"));
    const std::optional<JobList> read = ReadJobFile(path());
    ASSERT_TRUE(read);
    ASSERT_EQ(read->blocks.size(), 1u);
    EXPECT_EQ(read->blocks[0].Dests, QStringList{QStringLiteral("/ok=1")});
    EXPECT_TRUE(read->blocks[0].ExtCopies.isEmpty());
    EXPECT_EQ(SaveJobFile(path(), *read), QString());
}

// The editor writes a file back as it found it, so that a job file that
// some other tool keeps in UTF-8 stays readable there; a new file is code
// page 1251, for the Windows build.
TEST_F(JobFileFormatTest, SavesAFileInTheEncodingItWasReadIn)
{
    const QByteArray mark("\xEF\xBB\xBF");
    const QStringList lines{QStringLiteral(">"), QStringLiteral(u"\u0414\u043e\u043c"), QStringLiteral("/arc/a"),
                            QStringLiteral(u"D=/home/\u00e4"), QStringLiteral("C=")};
    const QByteArray utf8 = lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
    for (const QByteArray &bytes : {utf8, mark + utf8}) {
        testfiles::writeBytes(path(), bytes);
        std::optional<JobList> jobs = ReadJobFile(path());
        ASSERT_TRUE(jobs);
        ASSERT_EQ(jobs->blocks.size(), 1u);
        ASSERT_EQ(SaveJobFile(path(), *jobs), QString()); // the "ä" has no code page 1251 form
        const QByteArray saved = testfiles::readBytes(path());
        EXPECT_EQ(saved.startsWith(mark), bytes.startsWith(mark));
        EXPECT_TRUE(saved.contains(QStringLiteral(u"\u0414\u043e\u043c\r\n/arc/a").toUtf8()));
        EXPECT_EQ(ReadJobFile(path())->blocks.at(0).Sources, QStringList{QStringLiteral(u"/home/\u00e4")});
    }
    JobList fresh = sampleJobs();
    ASSERT_EQ(SaveJobFile(path(), fresh), QString());
    EXPECT_TRUE(testfiles::readBytes(path()).contains(testfiles::cp1251Lines({fresh.names.at(0)})));
}

// A daily copy whose folder begins with "Рќ:" is D0 9D 3A in code page 1251,
// and read as UTF-8 that is "Н:", the older key of a week copy. With the rest
// of the file in ASCII the whole file would be valid UTF-8, and the next read
// would turn the daily copy into a week copy: the editor writes such a file
// in UTF-8 with the mark instead. The file itself is named in code page 1251,
// as on an old disk, and keeps its previous version beside it.
TEST_F(JobFileFormatTest, ASaveThatWouldReadBackAsUtf8IsWrittenWithTheMark)
{
    const QString file = platform::fileNameFromBytes(QFile::encodeName(dir.path()) + "/\xC4\xEE\xEC.dat"); // "Дом"
    JobList jobs;
    TBlock block;
    block.SetStr(ArchiveName, QStringLiteral("/arc/home"));
    block.Sources = {QStringLiteral("/home/a")};
    block.Exclusions = {QString()};
    block.Dests << QStringLiteral(u"\u0420\u045c:/mnt/daily/=135");
    jobs.names << QStringLiteral("home");
    jobs.blocks.push_back(block);

    for (int save = 0; save < 2; ++save) {
        ASSERT_EQ(SaveJobFile(file, jobs), QString());
        QFile saved;
        ASSERT_TRUE(platform::openFile(saved, file, QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        const std::optional<JobList> read = ReadJobFile(file);
        ASSERT_TRUE(read);
        ASSERT_EQ(read->blocks.size(), 1u);
        EXPECT_EQ(read->blocks[0].Dests, block.Dests);
        EXPECT_TRUE(read->blocks[0].ExtCopies.isEmpty());
        EXPECT_EQ(read->encoding, textencoding::Encoding::Utf8WithMark);
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << bytes.toStdString();
    }
    EXPECT_TRUE(platform::fileExists(backupFileName(file)));
    // Qt cannot see such names to remove them.
    for (const QString &name : {file, backupFileName(file)})
        ::unlink(platform::fileNameBytes(name).constData());
}

// An editor that put a second mark before the first: the marks are kept as
// read, and a file without a header still has its job.
TEST_F(JobFileFormatTest, EveryMarkOfAFileSurvivesASave)
{
    const QByteArray marks = "\xEF\xBB\xBF\xEF\xBB\xBF";
    const QByteArray job = ">\r\nhome\r\n/arc/a\r\nD=/home/\xC3\xA4\r\nC=\r\nE=\r\n";
    testfiles::writeBytes(path(), marks + job);
    for (int save = 0; save < 2; ++save) {
        const std::optional<JobList> jobs = ReadJobFile(path());
        ASSERT_TRUE(jobs);
        ASSERT_EQ(jobs->names, QStringList{QStringLiteral("home")});
        ASSERT_EQ(SaveJobFile(path(), *jobs), QString());
        EXPECT_EQ(testfiles::readBytes(path()), marks + "Zentavo job file\r\n" + job);
    }
}
