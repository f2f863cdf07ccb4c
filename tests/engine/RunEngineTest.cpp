#include "engine/RunEngine.h"

#include "RecordingRunView.h"
#include "engine/JobFileReader.h"
#include "engine/RunReport.h"
#include "engine/RunSettingsSnapshot.h"
#include "engine/RunState.h"
#include "report/ReportFile.h"
#include "report/ReportLines.h"
#include "shared/ConstStr.h"

#include "AnyNamesTemporaryDir.h"
#include "ChildProcess.h"
#include "RemovableFolder.h"
#include "RenameKill.h"
#include "ScriptedPrompter.h"
#include "SplitSetRestore.h"
#include "StepMarks.h"
#include "TestFiles.h"
#include "Unprivileged.h"
#include "ZipToolCheck.h"
#include "platform/FileNames.h"
#include "platform/FileWriteLock.h"
#include "zip/ZAExcept.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <thread>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace zentavo;
using report::Separator;

namespace {

// Wednesday the 9th: an odd day, weekday 3.
const QDateTime wednesday(QDate(2026, 12, 9), QTime(22, 0));

class RunEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        flags.request();
        settings.CheckBoxInfoPath = true;
        settings.RadioButtonRPath = true;
        settings.CheckBoxRecurse = true;
        settings.EditTemp = path(QStringLiteral("temp"));
    }

    QString path(const QString &relative) const { return dir.filePath(relative); }

    void makeFile(const QString &relative, const QByteArray &content = "content")
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        testfiles::writeBytes(path(relative), content);
    }

    QString jobFile() const { return path(QStringLiteral("jobs.dat")); }

    TBlocks readJobs(const QStringList &lines)
    {
        testfiles::writeBytes(jobFile(), testfiles::cp1251Lines(QStringList{QStringLiteral("header")} + lines));
        TBlocks blocks;
        EXPECT_TRUE(ReadFDat(jobFile(), blocks));
        return blocks;
    }

    std::unique_ptr<TRunEngine> run(const QStringList &jobLines, const QDateTime &when = wednesday)
    {
        auto engine = std::make_unique<TRunEngine>(readJobs(jobLines), settings, RunContext{jobFile(), when, {}}, flags,
                                                   view, runReport);
        engine->Execute();
        return engine;
    }

    QByteArray noise(qsizetype size)
    {
        std::mt19937 random(5);
        QByteArray bytes(size, Qt::Uninitialized);
        for (char &byte : bytes)
            byte = char(random());
        return bytes;
    }

    // Two runs for a small disk: the first archives src/first.bin (firstKb of
    // noise) into disk/full.zip, the second adds src/more.bin (moreKb) to it
    // and then runs a job "Next" whose archive lies off the disk. fullDisk is
    // the report's line for a write that the full disk refuses.
    struct FillingRuns {
        QList<QStringList> runs;
        QString fullDisk;
    };
    FillingRuns fillingRuns(int firstKb, int moreKb)
    {
        makeFile(QStringLiteral("src/first.bin"), noise(firstKb * 1024));
        makeFile(QStringLiteral("src/more.bin"), noise(moreKb * 1024));
        makeFile(QStringLiteral("src/small.txt"));
        // Written a while before the runs: a file of a run's own two-second
        // step would be taken again by the next run.
        for (const char *name : {"src/first.bin", "src/more.bin", "src/small.txt"}) {
            QFile file(path(QString::fromLatin1(name)));
            EXPECT_TRUE(
                file.open(QIODevice::ReadWrite)
                && file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
        }
        const QString archive = path(QStringLiteral("disk/full.zip"));
        const QStringList full{QStringLiteral(">"), QStringLiteral("Full"), archive,
                               QStringLiteral("D=") + path(QStringLiteral("src/first.bin"))};
        const QStringList fuller = full
            + QStringList{QStringLiteral("D=") + path(QStringLiteral("src/more.bin")), QStringLiteral(">"),
                          QStringLiteral("Next"), path(QStringLiteral("next.zip")),
                          QStringLiteral("D=") + path(QStringLiteral("src/small.txt"))};
        return {{full, fuller},
                sArchiveError + QStringLiteral(" (Cannot write to \"") + archive
                    + QStringLiteral("\": No space left on device - Native error: 00065)")};
    }

    // Where the failure line of a run on a small disk stands: after it the
    // job ends fatally and the next job follows, and the disk's files are
    // after the failed run byte for byte as before it. -1 when missing.
    qsizetype failedAndWentOn(const QStringList &lines, const QString &failure)
    {
        const std::string shown = lines.join(u'\n').toStdString();
        const qsizetype at = lines.indexOf(failure);
        EXPECT_GE(at, 0) << shown;
        EXPECT_EQ(lines.mid(at + 1, 3), (QStringList{sRes[StatusFatal], Separator, sJob + QStringLiteral(" Next")}))
            << shown;
        const QStringList disk = lines.filter(QStringLiteral("disk="));
        EXPECT_TRUE(disk.size() == 2 && disk[1] == disk[0]) << shown;
        return at;
    }

    // Runs each list of jobs in turn in a child whose folder "disk" is a
    // tmpfs of sizeKb, on a removable drive or a fixed one, with every
    // question left unanswered. The last run's report lines follow by what
    // was asked, its overall result and, after each run, the files on the
    // disk with a digest of each. Empty when no private mount namespace can
    // be had. beforeEachLaterRun, when set, changes the sources between runs.
    QStringList runOnSmallDisk(int sizeKb, const QList<QStringList> &runs, bool removable = false,
                               const std::function<void()> &beforeEachLaterRun = {})
    {
        const QString disk = path(QStringLiteral("disk"));
        QDir().mkpath(disk);
        const QString results = path(QStringLiteral("results.txt"));
        const childprocess::Result child = childprocess::run(
            [&] {
                const QByteArray options = "size=" + QByteArray::number(sizeKb) + 'k';
                if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
                    || ::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, options.constData()) != 0)
                    return 77;
                std::optional<RemovableFolder> drive;
                if (removable)
                    drive.emplace(disk);
                auto prompter = std::make_unique<ScriptedPrompter>();
                ScriptedPrompter &answers = *prompter;
                answers.buttons.assign(5, platform::PromptButton::None);
                platform::setPrompter(std::move(prompter));
                QStringList files;
                std::unique_ptr<TRunEngine> engine;
                for (const QStringList &jobLines : runs) {
                    if (engine && beforeEachLaterRun)
                        beforeEachLaterRun();
                    view.lines.clear();
                    engine = run(jobLines);
                    QStringList onDisk;
                    for (const QString &name : QDir(disk).entryList(QDir::Files, QDir::Name))
                        onDisk << name + u':'
                                + QString::fromLatin1(
                                      QCryptographicHash::hash(testfiles::readBytes(QDir(disk).filePath(name)),
                                                               QCryptographicHash::Md5)
                                          .toHex());
                    files << QStringLiteral("disk=") + onDisk.join(u',');
                }
                QStringList out = view.untimedLines();
                out << QStringLiteral("questions=%1").arg(answers.messages.size());
                for (const auto &message : answers.messages)
                    out << QStringLiteral("timeout=%1").arg(message.timeoutMs);
                out << QStringLiteral("result=%1").arg(engine->OverallResult()) << files;
                platform::setPrompter(nullptr);
                testfiles::writeBytes(results, out.join(u'\n').toUtf8());
                return 0;
            },
            std::chrono::seconds(60));
        EXPECT_EQ(child.outcome, childprocess::Outcome::Exited);
        if (child.outcome != childprocess::Outcome::Exited || child.exitCode == 77)
            return {};
        EXPECT_EQ(child.exitCode, 0);
        return QString::fromUtf8(testfiles::readBytes(results)).split(u'\n');
    }

    // Runs the jobs in a child as an ordinary user, so that permissions
    // bind; the report's lines follow by the overall result. Nothing when
    // there is no such user.
    std::optional<QStringList> runUnprivileged(const QStringList &jobLines)
    {
        unprivileged::openToAll(dir.path());
        const QString results = path(QStringLiteral("results.txt"));
        const childprocess::Result child = unprivileged::run([&] {
            const auto engine = run(jobLines);
            testfiles::writeBytes(
                results,
                (view.untimedLines() << QStringLiteral("result=%1").arg(engine->OverallResult())).join(u'\n').toUtf8());
            return 0;
        });
        if (child.outcome == childprocess::Outcome::Exited && child.exitCode == unprivileged::NotPossible)
            return std::nullopt;
        EXPECT_EQ(child.exitCode, 0);
        return QString::fromUtf8(testfiles::readBytes(results)).split(u'\n');
    }

    QStringList archived(const QString &archive)
    {
        const auto list = ziptools::python(
            QStringLiteral("import sys, zipfile; print('\\n'.join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))"),
            {archive});
        return list && list->exitCode == 0 ? list->output.trimmed().split(u'\n') : QStringList();
    }

    AnyNamesTemporaryDir dir; // OddNamesTest leaves names in code page 1251
    RunState flags;
    RunSettings settings;
    RecordingRunView view;
    RunReport runReport{view};
};

// A tree below base of folders with 200-character names, about length
// bytes deep, longer than a path may be spelt whole, with a file at its
// end. It is made, and removed when the object goes, one level at a time.
class DeepTree {
public:
    DeepTree(const QString &base, qsizetype length)
    {
        m_levels.push_back(::open(QFile::encodeName(base).constData(), O_DIRECTORY | O_RDONLY));
        for (qsizetype spelt = base.size(); spelt < length && m_levels.back() >= 0; spelt += Level.size() + 1) {
            ::mkdirat(m_levels.back(), Level.constData(), 0777);
            m_levels.push_back(::openat(m_levels.back(), Level.constData(), O_DIRECTORY | O_RDONLY));
        }
        if (m_levels.back() >= 0)
            ::close(::openat(m_levels.back(), "deep.txt", O_WRONLY | O_CREAT, 0666));
    }
    ~DeepTree()
    {
        if (m_levels.back() >= 0)
            ::unlinkat(m_levels.back(), "deep.txt", 0);
        for (std::size_t i = m_levels.size() - 1; i > 0; --i) {
            ::close(m_levels[i]);
            ::unlinkat(m_levels[i - 1], Level.constData(), AT_REMOVEDIR);
        }
        ::close(m_levels.front());
    }
    DeepTree(const DeepTree &) = delete;
    DeepTree &operator=(const DeepTree &) = delete;

private:
    static inline const QByteArray Level = QByteArray(200, 'd');
    std::vector<int> m_levels;
};

QString timed(const QString &text)
{
    return text; // the stamp is removed by untimedLines()
}

} // namespace

TEST_F(RunEngineTest, WithoutARunRequestNothingHappens)
{
    flags.withdraw();
    run({QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("a")), QStringLiteral("D=/x")});
    EXPECT_TRUE(view.lines.isEmpty());
    EXPECT_FALSE(flags.RunBusy());
    EXPECT_EQ(view.ends, 0);
}

TEST_F(RunEngineTest, FullRunReportsEveryStepInOrder)
{
    makeFile(QStringLiteral("src/data/a.txt"));
    makeFile(QStringLiteral("src/data/sub/b.txt"));
    makeFile(QStringLiteral("src/data/skip.tmp"));
    makeFile(QStringLiteral("src/other/c.txt"));
    const QString archive1 = path(QStringLiteral("arc/Day1_09.zip"));
    const QString archive2 = path(QStringLiteral("arc/Two.zip"));
    const QString missing = path(QStringLiteral("src/missing.txt"));
    const QString afterFile = path(QStringLiteral("after.txt"));

    const QStringList jobs{QStringLiteral(">"),
                           QStringLiteral("One"),
                           path(QStringLiteral("arc/Day?_*D")),
                           QStringLiteral("D=") + path(QStringLiteral("src/data")),
                           QStringLiteral("C=nightly"),
                           QStringLiteral("E=*.tmp"),
                           path(QStringLiteral("copy?")) + QStringLiteral("=35"),
                           path(QStringLiteral("never")) + QStringLiteral("=0"),
                           QStringLiteral("CMD1=CCPY \"%1\" TO \"%2\"=")
                               .arg(path(QStringLiteral("src/data/a.txt")), path(QStringLiteral("before/"))),
                           QStringLiteral("CMD2=/bin/sh -c \"echo done > %1\"=3").arg(afterFile),
                           QStringLiteral("CMD2=/no/such/program=") + QString(), // runs every day and cannot start
                           QStringLiteral("CMD2=/bin/false=0"),                  // Sundays only
                           QStringLiteral(">"),
                           QStringLiteral("Two"),
                           archive2,
                           QStringLiteral("D=") + path(QStringLiteral("src/other")),
                           QStringLiteral("D=") + missing,
                           QStringLiteral("C="),
                           path(QStringLiteral("copy2")) + u'=',
                           QStringLiteral(">"),
                           QStringLiteral("Three"),
                           path(QStringLiteral("arc/Three.zip")),
                           QStringLiteral("D=") + missing,
                           QStringLiteral("C="),
                           QStringLiteral(">"),
                           QStringLiteral("Off"),
                           path(QStringLiteral("arc/Off.zip")),
                           QStringLiteral("D=") + path(QStringLiteral("src/data")),
                           QStringLiteral("C=")};

    const auto engine = run(jobs);

    const QStringList expected{timed(sBeginProcess),
                               Separator,
                               sJob + QStringLiteral(" One"),
                               timed(sCopy + u' ' + path(QStringLiteral("src/data/a.txt")) + u' ' + sIn + u' '
                                     + path(QStringLiteral("before/"))),
                               sRes[0] + QStringLiteral(" (1)"),
                               timed(sCreateFolder + u' ' + path(QStringLiteral("arc/"))),
                               sRes[0],
                               timed(sNameArch + u' ' + archive1),
                               timed(sArchive + u' ' + path(QStringLiteral("src/data/*.*"))),
                               u'(' + sListExclude + QStringLiteral(" *.tmp)"),
                               sRes[0] + QStringLiteral(" (") + sAddFiles + QStringLiteral(" 2)"),
                               timed(sCopy + u' ' + archive1 + u' ' + sIn + u' ' + path(QStringLiteral("copy1/"))),
                               sRes[0],
                               timed(sRunCommand),
                               QStringLiteral("/bin/sh -c \"echo done > %1\"").arg(afterFile),
                               timed(sRunCommand),
                               QStringLiteral("/no/such/program"),
                               sRes[1],
                               Separator,
                               sJob + QStringLiteral(" Two"),
                               timed(sNameArch + u' ' + archive2),
                               timed(sArchive + u' ' + path(QStringLiteral("src/other/*.*"))),
                               timed(sSourceNotFount + QStringLiteral(" (") + missing + u')'),
                               sRes[0] + QStringLiteral(" (") + sAddFiles + QStringLiteral(" 1)"),
                               sRes[2],
                               Separator,
                               sJob + QStringLiteral(" Three"),
                               timed(sNameArch + u' ' + path(QStringLiteral("arc/Three.zip"))),
                               timed(sSourceNotFount + QStringLiteral(" (") + missing + u')'),
                               Separator,
                               sJob + QStringLiteral(" Off"),
                               timed(sNameArch + u' ' + path(QStringLiteral("arc/Off.zip"))),
                               timed(sArchive + u' ' + path(QStringLiteral("src/data/*.*"))),
                               sRes[0] + QStringLiteral(" (") + sAddFiles + QStringLiteral(" 3)"),
                               Separator,
                               QStringLiteral("One - ") + sRes[1],
                               QStringLiteral("Two - ") + sRes[2],
                               QStringLiteral("Three - ") + sRes[2],
                               QStringLiteral("Off - ") + sRes[0],
                               Separator,
                               timed(sEndProcess),
                               QString()};
    EXPECT_EQ(view.untimedLines(), expected);
    EXPECT_EQ(engine->OverallResult(), 2);
    EXPECT_FALSE(flags.RunBusy());
    EXPECT_EQ(view.ends, 1);

    // The archive, its copy of the day and the commands' work are real.
    if (const auto test = ziptools::run(QStringLiteral("unzip"), {QStringLiteral("-t"), archive1})) {
        EXPECT_EQ(test->exitCode, 0) << test->output.toStdString();
    }
    if (const auto list = ziptools::run(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive1})) {
        EXPECT_EQ(list->output.split(u'\n', Qt::SkipEmptyParts),
                  QStringList({QStringLiteral("data/a.txt"), QStringLiteral("data/sub/b.txt")}));
    }
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("copy1/Day1_09.zip"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("never"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("copy2/Two.zip")))); // a failed job is not copied
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("before/a.txt"))));
    EXPECT_EQ(testfiles::readBytes(afterFile), QByteArray("done\n"));
}

TEST_F(RunEngineTest, ADamagedFileCommandIsAnErrorAndRunsNothing)
{
    makeFile(QStringLiteral("src/a.txt"));
    const QString damaged = QStringLiteral("CDEL %1").arg(path(QStringLiteral("src")));
    const auto engine = run({QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("a.zip")),
                             QStringLiteral("D=") + path(QStringLiteral("src/a.txt")), QStringLiteral("C="),
                             QStringLiteral("CMD1=") + damaged + u'='});
    const QStringList lines = view.untimedLines();
    EXPECT_EQ(lines.mid(2, 3), QStringList({sJob + QStringLiteral(" Job"), damaged, sRes[1]}));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("src/a.txt"))));
    EXPECT_EQ(engine->OverallResult(), 1);
}

// Many small files: the window hears only of what changes on the screen.
TEST_F(RunEngineTest, TheWindowGetsOnlyTheProgressThatChangesWhatItShows)
{
    for (int i = 0; i < 400; ++i)
        makeFile(QStringLiteral("src/f%1.txt").arg(i, 3, 10, QChar(u'0')), QByteArray(i * 97, 'a'));
    const auto engine = run({QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("arc/a.zip")),
                             QStringLiteral("D=") + path(QStringLiteral("src")), QStringLiteral("C=")});
    EXPECT_EQ(engine->OverallResult(), 0) << view.lines.join(u'\n').toStdString();
    for (const std::vector<int> *percents : {&view.archivePercents, &view.filePercents}) {
        ASSERT_FALSE(percents->empty());
        for (std::size_t i = 1; i < percents->size(); ++i)
            EXPECT_NE(percents->at(i), percents->at(i - 1)) << i;
    }
    std::vector<qint64> fileLabelTimes;
    for (const auto &[at, text] : view.texts) {
        if (text.endsWith(QStringLiteral(".txt")))
            fileLabelTimes.push_back(at);
    }
    ASSERT_FALSE(fileLabelTimes.empty());
    for (std::size_t i = 1; i < fileLabelTimes.size(); ++i)
        EXPECT_GE(fileLabelTimes[i] - fileLabelTimes[i - 1], 95) << i;
}

TEST_F(RunEngineTest, SplitArchivesAreDeletedAndCopiedVolumeByVolume)
{
    std::mt19937 random(7);
    QByteArray noise(300 * 1024, Qt::Uninitialized);
    for (char &byte : noise)
        byte = char(random());
    makeFile(QStringLiteral("src/noise.bin"), noise);
    makeFile(QStringLiteral("arc/old.z09"), "a volume of an older, longer set");
    settings.ComboBoxVol = 100; // KB
    settings.ComboBoxComp = 0;
    settings.RadioButtonArcNew = true;
    const QStringList job{QStringLiteral(">"),
                          QStringLiteral("Job"),
                          path(QStringLiteral("arc/old.zip")),
                          QStringLiteral("D=") + path(QStringLiteral("src/noise.bin")),
                          QStringLiteral("C="),
                          path(QStringLiteral("copy")) + u'='};
    // A stray volume is no archive that the new set replaces.
    const QString deleted = sTryDelOldArch + u' ' + path(QStringLiteral("arc/old.z*"));
    EXPECT_EQ(run(job)->OverallResult(), 0) << view.lines.join(u'\n').toStdString();
    EXPECT_FALSE(view.untimedLines().contains(deleted));
    const QStringList volumes = QDir(path(QStringLiteral("arc"))).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(volumes,
              QStringList({QStringLiteral("old.z01"), QStringLiteral("old.z02"), QStringLiteral("old.z03"),
                           QStringLiteral("old.zip")}));
    EXPECT_EQ(QDir(path(QStringLiteral("copy"))).entryList(QDir::Files, QDir::Name), volumes);

    view.lines.clear();
    EXPECT_EQ(run(job)->OverallResult(), 0) << view.lines.join(u'\n').toStdString();
    EXPECT_TRUE(view.untimedLines().contains(deleted)) << view.lines.join(u'\n').toStdString();
}

TEST_F(RunEngineTest, SelfExtractingArchivesTakeTheExeName)
{
    makeFile(QStringLiteral("src/a.txt"));
    settings.CheckBoxSFX = true;
    settings.ProgramFolder = QStringLiteral(SFX_STUB_FOLDER);
    const auto engine = run({QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("a.zip")),
                             QStringLiteral("D=") + path(QStringLiteral("src/a.txt"))});
    EXPECT_EQ(engine->OverallResult(), 0) << view.lines.join(u'\n').toStdString();
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("a.zip"))));
    if (const auto test
        = ziptools::run(QStringLiteral("unzip"), {QStringLiteral("-t"), path(QStringLiteral("a.exe"))})) {
        EXPECT_EQ(test->exitCode, 0) << test->output.toStdString();
    }
}

// Every copy of a self-extracting split set holds its first volume, the
// ".exe", and restores by the documented steps; the period copy's flag
// deletes every volume of the set.
TEST_F(RunEngineTest, CopiesOfASelfExtractingSplitSetHoldEveryVolume)
{
    for (int i = 0; i < 3; ++i)
        makeFile(QStringLiteral("src/part%1.bin").arg(i), noise(90 * 1024 + i));
    settings.CheckBoxSFX = true;
    settings.ProgramFolder = QStringLiteral(SFX_STUB_FOLDER);
    settings.ComboBoxVol = 64; // KB
    settings.ComboBoxComp = 0;
    settings.TabSheetOptions = 65; // Saturday and Sunday off
    const auto engine = run({QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("arc/back.zip")),
                             QStringLiteral("D=") + path(QStringLiteral("src")), QStringLiteral("C="),
                             path(QStringLiteral("copy")) + u'=',
                             QStringLiteral("Y=") + path(QStringLiteral("year")) + QStringLiteral("=1")},
                            QDateTime(QDate(2026, 12, 31), QTime(22, 0)));
    EXPECT_EQ(engine->OverallResult(), 0) << view.lines.join(u'\n').toStdString();

    const QStringList copied = QDir(path(QStringLiteral("copy"))).entryList(QDir::Files, QDir::Name);
    ASSERT_TRUE(copied.contains(QStringLiteral("back.exe"))) << copied.join(u' ').toStdString();
    ASSERT_TRUE(copied.contains(QStringLiteral("back.Z04"))) << copied.join(u' ').toStdString();
    EXPECT_EQ(QDir(path(QStringLiteral("year"))).entryList(QDir::Files, QDir::Name), copied);
    EXPECT_EQ(QDir(path(QStringLiteral("arc"))).entryList(QDir::Files | QDir::Hidden), QStringList());

    std::map<QString, QByteArray> sources;
    for (const auto &[name, bytes] : splitset::treeOf(path(QStringLiteral("src"))))
        sources[QStringLiteral("src/") + name] = bytes;
    for (const char *media : {"copy", "year"}) {
        SCOPED_TRACE(media);
        const QString work = path(QStringLiteral("restore-") + QString::fromLatin1(media));
        QDir().mkpath(work);
        splitset::expectRestoredByTheDocumentedSteps(path(QString::fromLatin1(media)), QStringLiteral("back"), work,
                                                     sources);
    }
}

// Two run days of the same parity in a row: the other parity's set is
// replaced by the whole of yesterday's, first volume and all.
TEST_F(RunEngineTest, SameParityTwiceMovesTheWholeSelfExtractingSet)
{
    makeFile(QStringLiteral("src/a.txt"));
    settings.CheckBoxSFX = true;
    settings.ProgramFolder = QStringLiteral(SFX_STUB_FOLDER);
    settings.ComboBoxVol = 64; // KB
    settings.RadioButtonArcNew = true;
    const QStringList volumes{QStringLiteral("exe"), QStringLiteral("Z02"), QStringLiteral("ZIP")};
    for (const QString &extension : volumes) {
        for (const auto &[day, date] : {std::pair{1, QDate(2026, 12, 31)}, std::pair{2, QDate(2026, 12, 30)}}) {
            const QString name = QStringLiteral("arc/Day%1.").arg(day) + extension;
            makeFile(name, QStringLiteral("%1 of the %2th").arg(extension).arg(date.day()).toUtf8());
            QFile file(path(name));
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.setFileTime(QDateTime(date, QTime(22, 1)), QFileDevice::FileModificationTime));
        }
    }

    const auto engine = run({QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("arc/Day?.zip")),
                             QStringLiteral("D=") + path(QStringLiteral("src/a.txt"))},
                            QDateTime(QDate(2027, 1, 1), QTime(22, 0)));
    EXPECT_EQ(engine->OverallResult(), 0)
        << QDir(path(QStringLiteral("arc"))).entryList(QDir::Files | QDir::Hidden).join(u' ').toStdString();
    ASSERT_TRUE(view.untimedLines().contains(sSecondUneven)) << view.lines.join(u'\n').toStdString();
    for (const QString &extension : volumes) {
        EXPECT_EQ(testfiles::readBytes(path(QStringLiteral("arc/Day2.") + extension)),
                  (extension + QStringLiteral(" of the 31th")).toUtf8());
    }
}

// An archive left without its directory by a killed run is rebuilt from
// its whole entries; the report says so instead of a plain "Ok!", and the
// archive the run leaves is whole.
TEST_F(RunEngineTest, ARebuiltArchiveIsReportedAndLeftWhole)
{
    std::mt19937 random(3);
    QByteArray noise(200 * 1024, Qt::Uninitialized);
    for (char &byte : noise)
        byte = char(random());
    makeFile(QStringLiteral("src/a.bin"), noise);
    makeFile(QStringLiteral("src/b.bin"), noise.left(100000));
    const QStringList job{QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("a.zip")),
                          QStringLiteral("D=") + path(QStringLiteral("src"))};
    run(job);
    // Cut inside the last entry's data, as a kill leaves it.
    QFile archive(path(QStringLiteral("a.zip")));
    ASSERT_TRUE(archive.open(QIODevice::ReadWrite));
    ASSERT_TRUE(archive.resize(archive.size() - 30000));
    archive.close();

    view.lines.clear();
    const auto engine = run(job);
    const QStringList lines = view.untimedLines();
    EXPECT_TRUE(lines.contains(sArchiveRepaired + QStringLiteral(" 1"))) << lines.join(u'\n').toStdString();
    EXPECT_EQ(engine->OverallResult(), 1);
    if (const auto test
        = ziptools::run(QStringLiteral("unzip"), {QStringLiteral("-t"), path(QStringLiteral("a.zip"))})) {
        EXPECT_EQ(test->exitCode, 0) << test->output.toStdString();
        EXPECT_TRUE(test->output.contains(QStringLiteral("a.bin")) && test->output.contains(QStringLiteral("b.bin")));
    }
}

// An update of a split archive that fills its small disk. On a removable
// drive the job asks for the next disk, and in an automatic run nobody
// answers; on a fixed drive nothing is asked and the write fails with the
// system's reason, naming the archive. Either way the job fails, every
// volume is left byte for byte as it was, and the run goes on to the next
// job. The disk is a tmpfs of its own, in a child with a mount namespace of
// its own.
TEST_F(RunEngineTest, ASplitUpdateThatFillsItsDiskFailsOnlyItsJob)
{
    const FillingRuns filling = fillingRuns(150, 150);
    settings.ComboBoxVol = 100; // KB
    settings.ComboBoxComp = 0;
    flags.armAutoRun(true);
    const struct {
        bool removable;
        QString failure;
        int questions;
    } cases[] = {
        {true, sNoAnswer + u' ' + sInsertNextDisk, 1},
        {false, filling.fullDisk, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.removable ? "removable" : "fixed");
        QFile::remove(path(QStringLiteral("next.zip")));
        const QStringList lines = runOnSmallDisk(256, filling.runs, c.removable);
        if (lines.isEmpty())
            GTEST_SKIP() << "no private mount namespace for a small disk";
        const std::string shown = lines.join(u'\n').toStdString();
        const qsizetype at = failedAndWentOn(lines, c.failure);
        ASSERT_GE(at, 0);
        EXPECT_TRUE(lines.contains(QStringLiteral("Full - ") + sRes[StatusFatal])) << shown;
        EXPECT_EQ(lines.filter(QStringLiteral("questions=")),
                  QStringList{QStringLiteral("questions=%1").arg(c.questions)});
        if (c.questions > 0) {
            EXPECT_TRUE(lines.contains(QStringLiteral("timeout=60000")));
        }
        EXPECT_TRUE(lines.contains(QStringLiteral("result=2")));
        const QStringList disk = lines.filter(QStringLiteral("disk="));
        ASSERT_EQ(disk.size(), 2);
        EXPECT_TRUE(disk[0].startsWith(QStringLiteral("disk=full.z01:"))
                    && disk[0].contains(QStringLiteral(",full.zip:")))
            << shown;
        EXPECT_TRUE(QFile::exists(path(QStringLiteral("next.zip"))));
    }
}

// An archive that fills its small disk, made anew every run, updated, or
// a set whose one volume is the whole disk: the disk is what failed, not
// the file being written, so the job fails with one line that names the
// archive and the system's reason, blames no file, and leaves no step
// "Ok!"; the old archive stays byte for byte and the run goes on.
TEST_F(RunEngineTest, AnArchiveThatFillsItsDiskFailsOnlyItsJob)
{
    const FillingRuns filling = fillingRuns(40, 400);
    settings.ComboBoxComp = 0;
    const struct {
        const char *name;
        bool anew;
        int volumeKb;
    } cases[] = {
        {"made anew", true, 0},
        {"updated", false, 0},
        {"one volume", false, 1000},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        settings.RadioButtonArcNew = c.anew;
        settings.ComboBoxVol = c.volumeKb;
        QFile::remove(path(QStringLiteral("next.zip")));
        const QStringList lines = runOnSmallDisk(256, filling.runs);
        if (lines.isEmpty())
            GTEST_SKIP() << "no private mount namespace for a small disk";
        const std::string shown = lines.join(u'\n').toStdString();
        const qsizetype at = failedAndWentOn(lines, filling.fullDisk);
        ASSERT_GE(at, 0);
        EXPECT_EQ(lines.filter(QStringLiteral("Cannot write to")).size(), 1) << shown;
        // The source is named once, where it is taken; no failure blames it.
        EXPECT_EQ(lines.filter(QStringLiteral("more.bin")).size(), 1) << shown;
        EXPECT_TRUE(lines.mid(0, at).filter(sRes[StatusOk] + QStringLiteral(" (") + sAddFiles).isEmpty()) << shown;
        EXPECT_TRUE(lines.contains(QStringLiteral("result=2"))) << shown;
        const QStringList disk = lines.filter(QStringLiteral("disk="));
        ASSERT_EQ(disk.size(), 2);
        EXPECT_TRUE(disk[0].startsWith(QStringLiteral("disk=full.zip:"))) << shown;
        EXPECT_TRUE(QFile::exists(path(QStringLiteral("next.zip"))));
    }
}

// An update that rewrites the archive from its first entry first saves the
// old entries beside it; a disk too full for that copy is told as the
// archive's own full disk, and the archive is left as it was.
TEST_F(RunEngineTest, AnUpdateWhoseSavedTailDoesNotFitFailsWithTheDisksReason)
{
    const FillingRuns filling = fillingRuns(150, 1);
    settings.ComboBoxComp = 0;
    const QStringList lines = runOnSmallDisk(256, filling.runs, false, [this] {
        QFile first(path(QStringLiteral("src/first.bin")));
        ASSERT_TRUE(first.open(QIODevice::Append));
        first.write("changed");
    });
    if (lines.isEmpty())
        GTEST_SKIP() << "no private mount namespace for a small disk";
    EXPECT_GE(failedAndWentOn(lines, filling.fullDisk), 0);
}

TEST_F(RunEngineTest, DisabledJobsLeaveOnlyTheFrame)
{
    makeFile(QStringLiteral("src/a.txt"));
    TBlocks blocks = readJobs({QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("a.zip")),
                               QStringLiteral("D=") + path(QStringLiteral("src/a.txt"))});
    blocks[0].SetFlag(Enabled, 0);
    TRunEngine engine(blocks, settings, RunContext{jobFile(), wednesday, {}}, flags, view, runReport);
    engine.Execute();
    EXPECT_EQ(view.untimedLines(), QStringList({sBeginProcess, Separator, Separator, sEndProcess, QString()}));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("a.zip"))));
}

TEST_F(RunEngineTest, AStopEndsTheRunAtItsNextTestPointWithoutSummary)
{
    makeFile(QStringLiteral("src/a.txt"));
    view.onLine = [this](const QString &line) {
        if (line.startsWith(sJob))
            flags.stop(false);
    };
    run({QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("a.zip")),
         QStringLiteral("D=") + path(QStringLiteral("src/a.txt")), QStringLiteral("C="),
         QStringLiteral("CMD1=/bin/true=")});
    EXPECT_EQ(view.untimedLines(), QStringList({sBeginProcess, Separator, sJob + QStringLiteral(" Job")}));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("a.zip"))));
    EXPECT_EQ(view.ends, 0);
}

TEST_F(RunEngineTest, ReportFileHoldsTheRunAndIsTrimmed)
{
    makeFile(QStringLiteral("src/a.txt"));
    settings.CheckBoxRep = true;
    settings.CheckBoxRepAdd = true;
    settings.ButtonRepDir = path(QStringLiteral("rep"));
    QDir().mkpath(settings.ButtonRepDir);
    const QStringList job{QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("a.zip")),
                          QStringLiteral("D=") + path(QStringLiteral("src/a.txt"))};
    run(job);
    const QString reportPath = path(QStringLiteral("rep/Report.txt"));
    const QByteArray first = testfiles::readBytes(reportPath);
    EXPECT_EQ(first, view.lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");

    // The second run saves the first report and says so.
    view.lines.clear();
    run(job);
    EXPECT_EQ(testfiles::readBytes(path(QStringLiteral("rep/Report.bak"))), first);
    EXPECT_EQ(view.lines.value(1), sReportBak + QStringLiteral(" Report.bak"));

    settings.EditRepSize = 1;
    for (int i = 0; i < 5; ++i)
        run(job);
    EXPECT_LE(QFileInfo(reportPath).size(), 1024);
    EXPECT_TRUE(testfiles::readBytes(reportPath).endsWith(sEndProcess.toUtf8() + "\r\n\r\n"));
}

// A run started while another process's run writes the same report to be
// rewritten adds its lines to that report, saves and empties nothing, and
// says so at its head.
TEST_F(RunEngineTest, ARunBesideAnotherWritingTheReportAddsToItAndSaysSo)
{
    makeFile(QStringLiteral("src/a.txt"));
    settings.CheckBoxRep = true;
    settings.CheckBoxRepAdd = false;
    settings.ButtonRepDir = path(QStringLiteral("rep"));
    QDir().mkpath(settings.ButtonRepDir);
    const QString reportPath = path(QStringLiteral("rep/Report.txt"));
    testfiles::writeBytes(reportPath, "previous run\r\n");
    const StepMarks marks(dir.path());

    childprocess::Result other;
    std::thread otherRun([&] {
        other = childprocess::run([&] {
            ReportFile report;
            report.start(settings.ButtonRepDir, false);
            report.write(QStringLiteral("other run begins"));
            marks.mark(QStringLiteral("other-begun"));
            if (!marks.waitFor(QStringLiteral("run-ended")))
                return 1;
            report.write(QStringLiteral("other run ends"));
            return report.finish(0) ? 0 : 2;
        });
    });
    ASSERT_TRUE(marks.waitFor(QStringLiteral("other-begun")));
    run({QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("a.zip")),
         QStringLiteral("D=") + path(QStringLiteral("src/a.txt"))});
    marks.mark(QStringLiteral("run-ended"));
    otherRun.join();
    EXPECT_EQ(other.exitCode, 0);

    EXPECT_EQ(view.lines.value(1), sReportShared + u' ' + reportPath);
    EXPECT_FALSE(view.lines.contains(sReportBak + QStringLiteral(" Report.bak")));
    EXPECT_EQ(testfiles::readBytes(path(QStringLiteral("rep/Report.bak"))), QByteArray("previous run\r\n"));
    EXPECT_EQ(testfiles::readBytes(reportPath),
              "other run begins\r\n" + view.lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\nother run ends\r\n");
}

TEST_F(RunEngineTest, SameParityTwiceKeepsYesterdaysArchive)
{
    makeFile(QStringLiteral("src/a.txt"));
    makeFile(QStringLiteral("arc/Day1.zip"), "from the 31st");
    makeFile(QStringLiteral("arc/Day2.zip"), "from the 30th");
    const auto setDay = [this](const QString &name, QDate day) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime(day, QTime(22, 1)), QFileDevice::FileModificationTime));
    };
    setDay(QStringLiteral("arc/Day1.zip"), QDate(2026, 12, 31));
    setDay(QStringLiteral("arc/Day2.zip"), QDate(2026, 12, 30));

    // The 1st follows the 31st: both odd.
    run({QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("arc/Day?.zip")),
         QStringLiteral("D=") + path(QStringLiteral("src/a.txt"))},
        QDateTime(QDate(2027, 1, 1), QTime(22, 0)));
    const QStringList lines = view.untimedLines();
    const qsizetype rescue = lines.indexOf(sSecondUneven);
    ASSERT_GE(rescue, 0) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines.mid(rescue, 4),
              QStringList({sSecondUneven, sSaveInEven,
                           sCopy + u' ' + path(QStringLiteral("arc/Day1.zip")) + u' ' + sIn + u' '
                               + path(QStringLiteral("arc/Day2.zip")),
                           sRes[0]}));
    EXPECT_EQ(testfiles::readBytes(path(QStringLiteral("arc/Day2.zip"))), QByteArray("from the 31st"));

    // Days that alternate as they should need no rescue.
    view.lines.clear();
    run({QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("arc/Day?.zip")),
         QStringLiteral("D=") + path(QStringLiteral("src/a.txt"))},
        QDateTime(QDate(2027, 1, 2), QTime(22, 0)));
    EXPECT_FALSE(view.untimedLines().contains(sSecondEven));
}

TEST_F(RunEngineTest, PeriodEndCopiesTakeTheLongestPeriodThatCopied)
{
    makeFile(QStringLiteral("src/a.txt"));
    makeFile(QStringLiteral("blocker"), "a file where a folder should be");
    settings.TabSheetOptions = 65; // Saturday and Sunday off
    const QString archive = path(QStringLiteral("a.zip"));
    const QStringList job{QStringLiteral(">"),
                          QStringLiteral("Job"),
                          archive,
                          QStringLiteral("D=") + path(QStringLiteral("src/a.txt")),
                          QStringLiteral("C="),
                          QStringLiteral("Y=") + path(QStringLiteral("year?")) + QStringLiteral("=1"),
                          QStringLiteral("M=") + path(QStringLiteral("month")) + QStringLiteral("=0"),
                          QStringLiteral("W=") + path(QStringLiteral("week")) + QStringLiteral("=0")};

    // Thursday 31 December: the year ends; the month and week copies wait.
    run(job, QDateTime(QDate(2026, 12, 31), QTime(22, 0)));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("year26/a.zip"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("month"))));
    EXPECT_FALSE(QFile::exists(archive)); // the year flag deletes the archive
    const QStringList lines = view.untimedLines();
    const qsizetype yearLine = lines.indexOf(sEnd + QStringLiteral(" 2026 ") + sEndYear);
    ASSERT_GE(yearLine, 0) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines.mid(yearLine + 1, 4),
              QStringList({archive + u' ' + sIn + u' ' + path(QStringLiteral("year26/")), sRes[0],
                           sDelete + u' ' + archive, sRes[0]}));

    // When every year copy fails, the month copies are made instead.
    view.lines.clear();
    QStringList blocked = job;
    blocked[5] = QStringLiteral("Y=") + path(QStringLiteral("blocker/year")) + QStringLiteral("=1");
    const auto engine = run(blocked, QDateTime(QDate(2026, 12, 31), QTime(22, 0)));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("month/a.zip"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("week"))));
    EXPECT_TRUE(QFile::exists(archive));
    EXPECT_EQ(engine->OverallResult(), 1);

    // Friday 11 December is a week's last working day only.
    view.lines.clear();
    run(job, QDateTime(QDate(2026, 12, 11), QTime(22, 0)));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("week/a.zip"))));
}

TEST(RunSettingsSnapshot, TakesTheControlsAndTheSavedDaysOff)
{
    TVorrinControls controls;
    TVorrinCopies copies;
    copies.GroupBoxDaysTag = 65;
    copies.ButtonRepDirHint = QStringLiteral("/reports/");
    controls.RadioButtonArcAdd = false;
    controls.CheckBoxRepSize = false;
    controls.EditRepSize = QStringLiteral("300");
    controls.ComboBoxVolIndex = 3;
    RunSettings run = runSettingsFrom({controls, copies}, QStringLiteral("/opt/zentavo/"));
    EXPECT_EQ(run.TabSheetOptions, 65);
    EXPECT_EQ(run.ButtonRepDir, QStringLiteral("/reports/"));
    EXPECT_TRUE(run.RadioButtonArcNew);
    EXPECT_EQ(run.EditRepSize, 0);
    EXPECT_EQ(run.ComboBoxVol, -3);

    controls.CheckBoxRepSize = true;
    controls.ComboBoxVolIndex = -1;
    for (const auto &[typed, volume] : {std::pair{QStringLiteral("1440"), 1440}, std::pair{QStringLiteral("0"), 0},
                                        std::pair{QStringLiteral("-5"), 0}, std::pair{QStringLiteral("big"), 0}}) {
        controls.ComboBoxVolText = typed;
        run = runSettingsFrom({controls, copies}, QString());
        EXPECT_EQ(run.ComboBoxVol, volume) << typed.toStdString();
    }
    EXPECT_EQ(run.EditRepSize, 300);
}

// Names in code page 1251 bytes, as disks from Windows bring them.
class OddNamesTest : public RunEngineTest {
protected:
    QString rawPath(const QString &folder, const QByteArray &name)
    {
        return platform::fileNameFromBytes(QFile::encodeName(path(folder)) + '/' + name);
    }
    void makeRawFile(const QString &folder, const QByteArray &name)
    {
        QDir().mkpath(path(folder));
        QFile file;
        ASSERT_TRUE(platform::openFile(file, rawPath(folder, name), QIODevice::WriteOnly));
        file.write("raw");
    }
    bool rawExists(const QString &folder, const QByteArray &name)
    {
        return ::access(platform::fileNameBytes(rawPath(folder, name)).constData(), F_OK) == 0;
    }
};

const QByteArray cp1251Name("\xCF\xF0\xE8\xE2\xE5\xF2.txt");

TEST_F(OddNamesTest, AFileTheArchiveCannotNameIsReportedAndFailsTheJob)
{
    makeFile(QStringLiteral("src/a.txt"));
    makeRawFile(QStringLiteral("src"), cp1251Name);
    const auto engine = run({QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("a.zip")),
                             QStringLiteral("D=") + path(QStringLiteral("src")), QStringLiteral("C=")});

    EXPECT_NE(engine->Blocks().at(0).GetFlag(Status), StatusOk);
    const QString shown = platform::readableFileName(rawPath(QStringLiteral("src"), cp1251Name));
    EXPECT_TRUE(view.untimedLines().filter(shown).size() == 1) << qPrintable(view.untimedLines().join(u'\n'));
}

TEST_F(OddNamesTest, FileCommandsCopyMoveAndDeleteThem)
{
    makeRawFile(QStringLiteral("src"), cp1251Name);
    makeFile(QStringLiteral("src/a.txt"));
    quint8 status = StatusOk;
    TRunEngine engine({}, settings, RunContext{jobFile(), wednesday, {}}, flags, view, runReport);

    engine.ExecCommand(
        QStringLiteral("CCPY \"%1\" TO \"%2\"").arg(path(QStringLiteral("src/*.*")), path(QStringLiteral("copy/"))),
        status);
    EXPECT_EQ(status, StatusOk);
    EXPECT_TRUE(rawExists(QStringLiteral("copy"), cp1251Name));
    engine.ExecCommand(
        QStringLiteral("CREN \"%1\" TO \"%2\"").arg(path(QStringLiteral("copy/*.*")), path(QStringLiteral("moved/"))),
        status);
    EXPECT_EQ(status, StatusOk);
    EXPECT_TRUE(rawExists(QStringLiteral("moved"), cp1251Name));
    EXPECT_FALSE(rawExists(QStringLiteral("copy"), cp1251Name));
    engine.ExecCommand(QStringLiteral("CDEL \"%1\"").arg(path(QStringLiteral("moved/*.*"))), status);
    EXPECT_EQ(status, StatusOk);
    EXPECT_FALSE(rawExists(QStringLiteral("moved"), cp1251Name));
}

TEST_F(RunEngineTest, SourcesThatDifferInLetterCaseKeepEveryFile)
{
    makeFile(QStringLiteral("src/Data/a.txt"));
    makeFile(QStringLiteral("src/data/b.txt"));
    const QString archive = path(QStringLiteral("a.zip"));
    const auto engine = run({QStringLiteral(">"), QStringLiteral("Job"), archive,
                             QStringLiteral("D=") + path(QStringLiteral("src/Data/a.txt")),
                             QStringLiteral("D=") + path(QStringLiteral("src/data/b.txt")), QStringLiteral("C=")});

    EXPECT_EQ(engine->Blocks().at(0).GetFlag(Status), StatusOk) << qPrintable(view.untimedLines().join(u'\n'));
    EXPECT_EQ(archived(archive), QStringList({QStringLiteral("Data/a.txt"), QStringLiteral("data/b.txt")}));
}

TEST_F(RunEngineTest, AnExceptionInsideOneJobEndsThatJobOnly)
{
    makeFile(QStringLiteral("src/a.txt"));
    view.onLine = [](const QString &line) {
        if (line == sJob + QStringLiteral(" Broken"))
            throw std::runtime_error("disk gone");
    };
    const auto engine = run({QStringLiteral(">"), QStringLiteral("Broken"), path(QStringLiteral("b.zip")),
                             QStringLiteral("D=") + path(QStringLiteral("src")), QStringLiteral("C="),
                             QStringLiteral(">"), QStringLiteral("Fine"), path(QStringLiteral("f.zip")),
                             QStringLiteral("D=") + path(QStringLiteral("src")), QStringLiteral("C=")});

    EXPECT_EQ(engine->Blocks().at(0).GetFlag(Status), StatusFatal);
    EXPECT_EQ(engine->Blocks().at(1).GetFlag(Status), StatusOk);
    const QStringList lines = view.untimedLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("Broken - ") + sRes.at(StatusFatal)));
    EXPECT_TRUE(lines.contains(QStringLiteral("Fine - ") + sRes.at(StatusOk)));
    EXPECT_EQ(lines.filter(QStringLiteral("disk gone")).size(), 1);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("f.zip"))));
}

// Made anew every run, an archive gives way only to a whole new one: the
// first one replaces nothing and says nothing of deleting; with its source
// gone the old archive stays byte for byte and nothing is said of deleting
// it; with a source there the old one goes once the new one is made, and
// the report says so after the archiving.
TEST_F(RunEngineTest, ANewArchiveEveryRunKeepsTheOldOneUntilTheNewIsMade)
{
    settings.RadioButtonArcNew = true;
    const QString archive = path(QStringLiteral("arc/A.zip"));
    const auto job = [&](const QString &source) {
        return QStringList{QStringLiteral(">"), QStringLiteral("Job"), archive, QStringLiteral("D=") + path(source),
                           QStringLiteral("C=")};
    };
    makeFile(QStringLiteral("src/a.txt"));
    EXPECT_EQ(run(job(QStringLiteral("src/a.txt")))->OverallResult(), 0);
    EXPECT_FALSE(view.lines.join(u'\n').contains(sTryDelOldArch)) << view.lines.join(u'\n').toStdString();
    const QByteArray old = testfiles::readBytes(archive);
    ASSERT_FALSE(old.isEmpty());

    QFile::remove(path(QStringLiteral("src/a.txt")));
    view.lines.clear();
    EXPECT_EQ(run(job(QStringLiteral("src/a.txt")))->OverallResult(), 2);
    EXPECT_EQ(testfiles::readBytes(archive), old);
    EXPECT_FALSE(view.lines.join(u'\n').contains(sTryDelOldArch)) << view.lines.join(u'\n').toStdString();

    makeFile(QStringLiteral("src/b.txt"));
    view.lines.clear();
    EXPECT_EQ(run(job(QStringLiteral("src/b.txt")))->OverallResult(), 0);
    const QStringList lines = view.untimedLines();
    const qsizetype at = lines.indexOf(sNameArch + u' ' + archive);
    ASSERT_GE(at, 0) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines.mid(at, 5),
              (QStringList{sNameArch + u' ' + archive, sArchive + u' ' + path(QStringLiteral("src/b.txt")),
                           sRes[0] + QStringLiteral(" (") + sAddFiles + QStringLiteral(" 1)"),
                           sTryDelOldArch + u' ' + archive, sRes[0]}));
    if (const auto test = ziptools::run(QStringLiteral("unzip"), {QStringLiteral("-t"), archive})) {
        EXPECT_EQ(test->exitCode, 0) << test->output.toStdString();
        EXPECT_TRUE(test->output.contains(QStringLiteral("b.txt")));
        EXPECT_FALSE(test->output.contains(QStringLiteral("a.txt")));
    }
    EXPECT_EQ(QDir(path(QStringLiteral("arc"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("A.zip")});
}

// While another writer has the archive, the job waits for it a while and
// then fails with a line that says the archive is in use.
TEST_F(RunEngineTest, AnArchiveInUseFailsItsJobWithALineSayingSo)
{
    makeFile(QStringLiteral("src/a.txt"));
    const QString archive = path(QStringLiteral("a.zip"));
    const platform::FileWriteLock otherWriter(archive, std::chrono::milliseconds(0));
    ASSERT_EQ(otherWriter.state(), platform::FileWriteLock::State::Held);
    const auto engine = run({QStringLiteral(">"), QStringLiteral("Job"), archive,
                             QStringLiteral("D=") + path(QStringLiteral("src/a.txt")), QStringLiteral("C=")});
    EXPECT_EQ(engine->OverallResult(), 2);
    const QString inUse
        = sArchiveError + QStringLiteral(" (") + EZAException(zaconst::neArchiveInUse, {}, {archive}).Message() + u')';
    EXPECT_TRUE(view.untimedLines().contains(inUse)) << view.lines.join(u'\n').toStdString();
    EXPECT_FALSE(QFile::exists(archive));
}

// Another run that writes the archive while this one would copy it: the
// copy waits for it a while, then fails with a line that says so, instead
// of copying half an archive.
TEST_F(RunEngineTest, ACopyWhileAnotherRunWritesTheArchiveSaysSo)
{
    makeFile(QStringLiteral("src/a.txt"));
    const QString archive = path(QStringLiteral("a.zip"));
    std::unique_ptr<platform::FileWriteLock> otherWriter;
    view.onLine = [&](const QString &line) {
        if (!otherWriter && line.contains(sCopy + u' ' + archive + u' ' + sIn))
            otherWriter = std::make_unique<platform::FileWriteLock>(archive, std::chrono::milliseconds(0));
    };
    const auto engine = run({QStringLiteral(">"), QStringLiteral("Job"), archive,
                             QStringLiteral("D=") + path(QStringLiteral("src/a.txt")), QStringLiteral("C="),
                             path(QStringLiteral("dest")) + u'='});
    ASSERT_TRUE(otherWriter && otherWriter->state() == platform::FileWriteLock::State::Held)
        << qPrintable(view.lines.join(u'\n'));
    const QStringList lines = view.untimedLines();
    const qsizetype at = lines.indexOf(sArchiveBusy + u' ' + archive);
    ASSERT_GE(at, 0) << qPrintable(lines.join(u'\n'));
    EXPECT_EQ(lines.value(at + 1), sRes[StatusError]);
    EXPECT_EQ(engine->OverallResult(), StatusError);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("dest/a.zip"))));
}

// A run killed while it puts a new set of volumes in place leaves the old
// set without its last volume and the new one half moved. The next run,
// though its source is gone and it makes no archive, leaves a whole set.
TEST_F(RunEngineTest, AJobWithoutSourcesStillFinishesASetAKilledRunHalfPlaced)
{
    if (QStandardPaths::findExecutable(QStringLiteral("7z")).isEmpty())
        GTEST_SKIP() << "7z checks the set";
    settings.ComboBoxVol = 64; // KB
    settings.ComboBoxComp = 0;
    settings.RadioButtonArcNew = true;
    const QString archive = path(QStringLiteral("arc/a.zip"));
    const QStringList job{QStringLiteral(">"), QStringLiteral("Job"), archive,
                          QStringLiteral("D=") + path(QStringLiteral("src/a.bin")), QStringLiteral("C=")};
    makeFile(QStringLiteral("src/a.bin"), noise(150 * 1024));
    ASSERT_EQ(run(job)->OverallResult(), StatusOk) << qPrintable(view.lines.join(u'\n'));
    makeFile(QStringLiteral("src/a.bin"), noise(250 * 1024));

    const auto halfPlaced = [&] {
        return !QFile::exists(archive)
            && !QDir(path(QStringLiteral("arc")))
                    .entryList({QStringLiteral(".zentavo-new-*")}, QDir::Hidden | QDir::Files)
                    .isEmpty();
    };
    for (int killAt = 1; killAt < 60 && !halfPlaced(); ++killAt) {
        const childprocess::Result child = renamekill::runKilledAtRename(
            [&] {
                run(job);
                return 0;
            },
            killAt);
        ASSERT_EQ(child.outcome, childprocess::Outcome::Killed) << killAt;
    }
    ASSERT_TRUE(halfPlaced());

    QFile::remove(path(QStringLiteral("src/a.bin")));
    view.lines.clear();
    EXPECT_EQ(run(job)->OverallResult(), StatusFatal);
    const auto test = ziptools::run(QStringLiteral("7z"), {QStringLiteral("t"), archive});
    ASSERT_TRUE(test);
    EXPECT_EQ(test->exitCode, 0) << test->output.toStdString();
    EXPECT_TRUE(test->output.contains(QStringLiteral("Size:       256000"))) << test->output.toStdString();
}

// An ordinary user's tree with a closed folder, a folder it may list but not
// enter and a path too long to spell: each is named, and the job, which
// still archives the rest, is no "Ok!".
TEST_F(RunEngineTest, FoldersTheRunCannotReadAreNamedAndFailTheJob)
{
    makeFile(QStringLiteral("src/a.txt"));
    makeFile(QStringLiteral("src/closed/in.txt"));
    makeFile(QStringLiteral("src/listed/in.txt"));
    const DeepTree deep(path(QStringLiteral("src")), 4400);
    for (const char *open : {"src", "src/a.txt", "src/closed/in.txt", "src/listed/in.txt"})
        unprivileged::openToAll(path(QString::fromLatin1(open)));
    ::chmod(QFile::encodeName(path(QStringLiteral("src/closed"))).constData(), 0000);
    ::chmod(QFile::encodeName(path(QStringLiteral("src/listed"))).constData(), 0444);
    const QString archive = path(QStringLiteral("a.zip"));

    const std::optional<QStringList> lines
        = runUnprivileged({QStringLiteral(">"), QStringLiteral("Job"), archive,
                           QStringLiteral("D=") + path(QStringLiteral("src")), QStringLiteral("C="),
                           QStringLiteral("CMD2=CCPY \"%1\" TO \"%2\"=")
                               .arg(path(QStringLiteral("src")), path(QStringLiteral("copy/")))});
    ::chmod(QFile::encodeName(path(QStringLiteral("src/closed"))).constData(), 0700);
    ::chmod(QFile::encodeName(path(QStringLiteral("src/listed"))).constData(), 0700);
    if (!lines)
        GTEST_SKIP() << "no unprivileged user to meet the permissions as";

    const QString shown = lines->join(u'\n');
    // Once by the archive, once by the copy command.
    for (const QString &unread : {path(QStringLiteral("src/closed/")), path(QStringLiteral("src/listed/"))})
        EXPECT_EQ(lines->filter(unread).size(), 2) << qPrintable(shown);
    EXPECT_EQ(lines->filter(QString(200, u'd')).size(), 2) << qPrintable(shown);
    EXPECT_TRUE(lines->contains(sRes[StatusError] + QStringLiteral(" (") + sAddFiles + QStringLiteral(" 1)")))
        << qPrintable(shown);
    EXPECT_TRUE(lines->contains(QStringLiteral("Job - ") + sRes[StatusError])) << qPrintable(shown);
    EXPECT_EQ(archived(archive), QStringList{QStringLiteral("src/a.txt")});
}

// Skipped, as before, but each told once, and the job stays ok.
TEST_F(RunEngineTest, LinksPipesAndDevicesInASourceAreToldOnce)
{
    makeFile(QStringLiteral("src/a.txt"));
    makeFile(QStringLiteral("elsewhere/b.txt"));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("elsewhere")), path(QStringLiteral("src/linked"))));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("gone")), path(QStringLiteral("src/dangling"))));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("src/loop")), path(QStringLiteral("src/loop"))));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("src/pipe"))).constData(), 0600), 0);
    const bool device
        = ::mknod(QFile::encodeName(path(QStringLiteral("src/null"))).constData(), S_IFCHR | 0600, ::makedev(1, 3))
        == 0;
    const QString archive = path(QStringLiteral("a.zip"));
    const auto engine = run({QStringLiteral(">"), QStringLiteral("Job"), archive,
                             QStringLiteral("D=") + path(QStringLiteral("src")), QStringLiteral("C=")});

    const QStringList lines = view.untimedLines();
    QStringList passedOver{QStringLiteral("linked"), QStringLiteral("dangling"), QStringLiteral("loop"),
                           QStringLiteral("pipe")};
    if (device)
        passedOver << QStringLiteral("null");
    for (const QString &name : passedOver)
        EXPECT_EQ(lines.filter(path(QStringLiteral("src/") + name) + u'"').size(), 1)
            << qPrintable(name + u'\n' + lines.join(u'\n'));
    EXPECT_EQ(engine->OverallResult(), StatusOk) << qPrintable(lines.join(u'\n'));
    EXPECT_EQ(archived(archive), QStringList{QStringLiteral("src/a.txt")});
}

// A period copy into the archive's own folder copies the archive onto
// itself: a failure, and the delete flag then leaves the only copy alone.
// So does a failed copy beside a good one. Each failed file is named with
// its reason before the step's result.
TEST_F(RunEngineTest, APeriodCopyThatFailedNeverDeletesTheArchive)
{
    makeFile(QStringLiteral("src/a.txt"));
    makeFile(QStringLiteral("blocker"), "a file where a folder should be");
    const QString archive = path(QStringLiteral("arc/a.zip"));
    const QDateTime yearEnd(QDate(2026, 12, 31), QTime(22, 0));
    const QString sameFile = QStringLiteral("The source and the destination are the same file");
    const struct {
        QStringList targets;
        QString failedTarget;
        QString reason;
    } cases[] = {
        {{path(QStringLiteral("arc"))}, archive, sameFile},
        {{path(QStringLiteral("arc/./"))}, path(QStringLiteral("arc/./a.zip")), sameFile},
        {{path(QStringLiteral("good")), path(QStringLiteral("blocker/year"))},
         path(QStringLiteral("blocker/year/a.zip")),
         QString::fromLocal8Bit(std::strerror(ENOTDIR))},
    };
    for (const auto &c : cases) {
        QStringList job{QStringLiteral(">"), QStringLiteral("Job"), archive,
                        QStringLiteral("D=") + path(QStringLiteral("src")), QStringLiteral("C=")};
        for (const QString &target : c.targets)
            job << QStringLiteral("Y=") + target + QStringLiteral("=1");
        view.lines.clear();
        const auto engine = run(job, yearEnd);
        const QStringList lines = view.untimedLines();
        EXPECT_TRUE(QFile::exists(archive)) << qPrintable(c.targets.join(u' '));
        EXPECT_EQ(engine->OverallResult(), StatusError) << qPrintable(lines.join(u'\n'));
        EXPECT_FALSE(lines.contains(sDelete + u' ' + archive));
        const QString failure = QStringLiteral("Cannot copy \"%1\" to \"%2\": ").arg(archive, c.failedTarget);
        const auto failed = std::find_if(lines.cbegin(), lines.cend(),
                                         [&failure](const QString &line) { return line.startsWith(failure); });
        const qsizetype at = failed == lines.cend() ? -1 : failed - lines.cbegin();
        ASSERT_GE(at, 0) << qPrintable(lines.join(u'\n'));
        EXPECT_TRUE(lines.at(at).contains(c.reason)) << qPrintable(lines.at(at));
        EXPECT_EQ(lines.value(at + 1), sRes[StatusError]) << qPrintable(lines.join(u'\n'));
    }
}

// A command of the job that fails on a file names it with the reason
// before its result, whichever command it is.
TEST_F(RunEngineTest, AFileCommandThatFailedNamesTheFileAndTheReason)
{
    makeFile(QStringLiteral("src/a.txt"));
    makeFile(QStringLiteral("blocker"), "a file where a folder should be");
    makeFile(QStringLiteral("fixed/f.txt"));
    for (const char *open : {"src", "src/a.txt", "fixed/f.txt"})
        unprivileged::openToAll(path(QString::fromLatin1(open)));
    ::chmod(QFile::encodeName(path(QStringLiteral("fixed"))).constData(), 0555);
    const struct {
        QString command;
        QString told;
    } cases[] = {
        {QStringLiteral("CREN \"%1\" TO \"%2\"")
             .arg(path(QStringLiteral("src/a.txt")), path(QStringLiteral("blocker/in/"))),
         QStringLiteral("Cannot move \"%1\" to \"%2\": %3")
             .arg(path(QStringLiteral("src/a.txt")), path(QStringLiteral("blocker/in/a.txt")),
                  QString::fromLocal8Bit(std::strerror(ENOTDIR)))},
        {QStringLiteral("CDEL \"%1\"").arg(path(QStringLiteral("fixed/f.txt"))),
         QStringLiteral("Cannot delete \"%1\": %2")
             .arg(path(QStringLiteral("fixed/f.txt")), QString::fromLocal8Bit(std::strerror(EACCES)))},
    };
    QStringList job{QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("a.zip")),
                    QStringLiteral("D=") + path(QStringLiteral("src")), QStringLiteral("C=")};
    for (const auto &c : cases)
        job << QStringLiteral("CMD1=") + c.command + u'=';
    const std::optional<QStringList> lines = runUnprivileged(job);
    ::chmod(QFile::encodeName(path(QStringLiteral("fixed"))).constData(), 0700);
    if (!lines)
        GTEST_SKIP() << "no unprivileged user to meet the permissions as";

    for (const auto &c : cases) {
        const qsizetype at = lines->indexOf(c.told);
        ASSERT_GE(at, 0) << qPrintable(lines->join(u'\n'));
        EXPECT_EQ(lines->value(at + 1), sRes[StatusError]) << qPrintable(lines->join(u'\n'));
    }
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("fixed/f.txt"))));
}

// An empty source, or one whose every file is excluded, still makes its
// archive, and the report says that nothing went into it.
TEST_F(RunEngineTest, ASourceThatGivesNoFileIsSaidSo)
{
    QDir().mkpath(path(QStringLiteral("empty")));
    makeFile(QStringLiteral("tmp/a.tmp"));
    const std::pair<QString, QString> sources[]
        = {{QStringLiteral("empty"), QString()}, {QStringLiteral("tmp"), QStringLiteral("*.tmp")}};
    for (const auto &[source, exclusions] : sources) {
        view.lines.clear();
        const auto engine
            = run({QStringLiteral(">"), QStringLiteral("Job"), path(source + QStringLiteral(".zip")),
                   QStringLiteral("D=") + path(source), QStringLiteral("C="), QStringLiteral("E=") + exclusions});
        const QStringList lines = view.untimedLines();
        const qsizetype result
            = lines.indexOf(sRes[StatusOk] + QStringLiteral(" (") + sAddFiles + QStringLiteral(" 0)"));
        ASSERT_GE(result, 0) << qPrintable(lines.join(u'\n'));
        EXPECT_EQ(lines.value(result + 1), sNoFileAdded);
        EXPECT_EQ(engine->OverallResult(), StatusOk);
    }
}

// A file that holds fewer bytes than its size said when it was chosen (as
// one that shrinks while it is archived): its failure names it.
TEST_F(RunEngineTest, AFileThatShrankIsNamedInItsFailure)
{
    const QString shrinking = QStringLiteral("/sys/devices/system/cpu/online");
    if (QFileInfo(shrinking).size() <= testfiles::readBytes(shrinking).size())
        GTEST_SKIP() << "no file here whose size says more than it holds";
    const auto engine = run({QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("a.zip")),
                             QStringLiteral("D=") + shrinking, QStringLiteral("C=")});
    const QStringList lines = view.untimedLines();
    EXPECT_EQ(engine->OverallResult(), StatusError) << qPrintable(lines.join(u'\n'));
    EXPECT_EQ(lines.filter(shrinking).size(), 2)
        << "the source line and the failure: " << qPrintable(lines.join(u'\n'));
}

TEST_F(RunEngineTest, FolderEntriesAreNotCountedAsAddedFiles)
{
    makeFile(QStringLiteral("src/top.txt"));
    makeFile(QStringLiteral("src/sub/inner.txt"));
    QDir().mkpath(path(QStringLiteral("src/empty")));
    settings.CheckBoxEmptyFolders = true;
    const auto engine = run({QStringLiteral(">"), QStringLiteral("Job"), path(QStringLiteral("a.zip")),
                             QStringLiteral("D=") + path(QStringLiteral("src")), QStringLiteral("C=")});

    EXPECT_TRUE(view.untimedLines().contains(sRes[0] + QStringLiteral(" (") + sAddFiles + QStringLiteral(" 2)")))
        << qPrintable(view.untimedLines().join(u'\n'));
}
