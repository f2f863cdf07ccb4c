#include "scheduler/Scheduler.h"
#include "FakeClock.h"
#include "LocalTimeZone.h"
#include "RecordingStarter.h"
#include "ScarceSpace.h"
#include "TestApplication.h"
#include "TestFiles.h"
#include "platform/Paths.h"
#include "platform/RegistryKey.h"
#include "report/ReportLines.h"
#include "scheduler/Journal.h"
#include "settings/VorrinStore.h"
#include "shared/ConstStr.h"
#include "shared/SuiteMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace zentavo;
using platform::ProgramRun;
using platform::RegistryKey;

namespace {

QDateTime at(int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, second));
}

class SchedulerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testapp::application();
        ASSERT_TRUE(dir.isValid());
        platform::setRegistryFolder(dir.filePath(QStringLiteral("registry")));
        copies.ScheduleTimes = {QStringLiteral("22:00")};
        copies.CheckBoxRunTag = 1;
        copies.CheckBoxRunAddTag = 1;
        copies.ButtonRunDirHint = platform::withTrailingSeparator(dir.path());
    }
    void TearDown() override { platform::setRegistryFolder(QString()); }

    // The schedule key as the settings save leaves it.
    void createScheduleKey(std::optional<int> runOnce = std::nullopt)
    {
        const auto key = RegistryKey::open(ScheduleKeyPath(), RegistryKey::Mode::OpenOrCreate);
        ASSERT_TRUE(key);
        key->writeString(QStringLiteral("Times"), QStringLiteral("22:00\r\n"));
        if (runOnce)
            key->writeInteger(QStringLiteral("RunOnce"), *runOnce);
        ASSERT_TRUE(key->flush());
    }

    std::optional<QString> storedLastRun() const
    {
        const auto key = RegistryKey::open(ScheduleKeyPath(), RegistryKey::Mode::OpenExisting);
        return key ? key->readString(QStringLiteral("LastRun")) : std::nullopt;
    }

    QStringList journal() const
    {
        QStringList lines = QString::fromUtf8(testfiles::readBytes(JournalPath(copies))).split(QStringLiteral("\r\n"));
        lines.removeLast(); // after the last line end
        return lines;
    }

    // The journal lines without their date and time.
    QStringList journalTexts() const
    {
        QStringList texts;
        for (const QString &line : journal())
            texts << line.section(u'\t', 0, 0);
        return texts;
    }

    QTemporaryDir dir;
    TVorrinCopies copies;
    RecordingStarter starter;
    FakeClockScope clock{at(9, 21, 59, 30)};
};

} // namespace

TEST_F(SchedulerTest, ScheduledRunStartsOnceJournalsItsStartAndEndAndIsNotRepeatedInItsMinute)
{
    createScheduleKey();
    TScheduler scheduler({{}, copies});
    scheduler.TimerTimer();
    EXPECT_TRUE(starter.requests.empty());

    clock.clock().set(at(9, 22, 0, 29));
    scheduler.TimerTimer();
    ASSERT_EQ(starter.requests.size(), 1u);
    const platform::ProgramRequest &request = starter.requests[0];
    EXPECT_EQ(request.program, platform::siblingProgram(QStringLiteral("Zentavo")));
    EXPECT_EQ(request.arguments, QStringList{QStringLiteral("/run")});
    EXPECT_EQ(request.workingFolder, QCoreApplication::applicationDirPath());
    EXPECT_TRUE(request.environment.isEmpty());
    EXPECT_FALSE(request.wait);
    EXPECT_TRUE(scheduler.RunActive());
    EXPECT_EQ(storedLastRun(), QStringLiteral("2026-12-09"));
    EXPECT_EQ(journal(), QStringList{JournalLine(sRunZentavo, at(9, 22, 0, 29))});
    EXPECT_TRUE(journal()[0].startsWith(sRunZentavo + u'\t'));

    // The run ends within its start minute; the second tick of it starts nothing.
    scheduler.RunZentavoEnded();
    EXPECT_FALSE(scheduler.RunActive());
    clock.clock().set(at(9, 22, 0, 58));
    scheduler.TimerTimer();
    EXPECT_EQ(starter.requests.size(), 1u);
    EXPECT_EQ(journalTexts(), (QStringList{sRunZentavo, sEndZentavo, QString()}));

    clock.clock().set(at(10, 22, 0, 5));
    scheduler.TimerTimer();
    EXPECT_EQ(starter.requests.size(), 2u);
}

TEST_F(SchedulerTest, RunUnderWayHoldsBackLaterStartsWithOneLineEachUntilItsEndIsReported)
{
    createScheduleKey();
    copies.ScheduleTimes = {QStringLiteral("22:00"), QStringLiteral("23:30")};
    TScheduler scheduler({{}, copies});
    // Two ticks in every start minute: the run's own, one held back the same
    // evening, one the next day.
    for (const QDateTime &tick : {at(9, 22, 0, 1), at(9, 22, 0, 59), at(9, 23, 30, 5), at(9, 23, 30, 59),
                                  at(10, 22, 0, 1), at(10, 22, 0, 59), at(10, 22, 1, 58)}) {
        clock.clock().set(tick);
        scheduler.TimerTimer();
    }
    EXPECT_EQ(starter.requests.size(), 1u);
    const QString heldBack = sRunHeldBack + u' ' + report::stamp(at(9, 22, 0, 1));
    EXPECT_EQ(journal(),
              (QStringList{JournalLine(sRunZentavo, at(9, 22, 0, 1)), JournalLine(heldBack, at(9, 23, 30, 5)),
                           JournalLine(heldBack, at(10, 22, 0, 1))}));

    scheduler.RunZentavoEnded();
    scheduler.RunZentavoEnded(); // a main program closed again: nothing more to journal
    EXPECT_EQ(journalTexts().mid(3), (QStringList{sEndZentavo, QString()}));
    clock.clock().set(at(11, 22, 0));
    scheduler.TimerTimer();
    EXPECT_EQ(starter.requests.size(), 2u);
}

TEST_F(SchedulerTest, TheHourRepeatedByTheAutumnClockChangeStartsItsTimesOnBothPasses)
{
    const LocalTimeZone berlin("Europe/Berlin");
    if (!berlin.available())
        GTEST_SKIP() << "no time zone data";
    // On 25 October 2026 the clocks go back from 03:00 to 02:00. Whether the
    // second pass of 02:30 starts must not hang on the other times listed.
    for (const QStringList &times :
         {QStringList{QStringLiteral("02:30")}, QStringList{QStringLiteral("02:30"), QStringLiteral("02:45")}}) {
        copies.ScheduleTimes = times;
        TScheduler scheduler({{}, copies});
        starter.requests.clear();
        QList<QTime> started;
        QDateTime tick(QDate(2026, 10, 25), QTime(1, 50));
        ASSERT_EQ(tick.offsetFromUtc(), 2 * 3600);
        for (; tick < QDateTime(QDate(2026, 10, 25), QTime(3, 10)); tick = tick.addSecs(59)) {
            clock.clock().set(tick);
            scheduler.TimerTimer();
            if (scheduler.RunActive()) {
                started << QTime(tick.time().hour(), tick.time().minute());
                scheduler.RunZentavoEnded(); // each run ends within its minute
            }
        }
        EXPECT_EQ(started.count(QTime(2, 30)), 2) << times.join(u' ').toStdString();
        EXPECT_EQ(started.size(), 2 * times.size()) << times.join(u' ').toStdString();
    }
}

TEST_F(SchedulerTest, FailedStartIsJournalledKeepsLastRunAndIsRetriedAtTheNextScheduledTime)
{
    createScheduleKey();
    copies.ScheduleTimes = {QStringLiteral("22:00"), QStringLiteral("22:30")};
    starter.results = {ProgramRun::NotStarted};
    TScheduler scheduler({{}, copies});
    clock.clock().set(at(9, 22, 0, 1));
    scheduler.TimerTimer();
    clock.clock().set(at(9, 22, 0, 59));
    scheduler.TimerTimer();
    EXPECT_EQ(starter.requests.size(), 1u);
    EXPECT_FALSE(scheduler.RunActive());
    EXPECT_EQ(storedLastRun(), QString());
    EXPECT_EQ(journalTexts(), (QStringList{sRunZentavoError, QString()}));

    clock.clock().set(at(9, 22, 30));
    scheduler.TimerTimer();
    EXPECT_EQ(starter.requests.size(), 2u);
    EXPECT_TRUE(scheduler.RunActive());
}

TEST_F(SchedulerTest, RunMinimizedReachesTheMainProgramThroughItsEnvironment)
{
    copies.CheckBoxMinTag = 1;
    TScheduler scheduler({{}, copies});
    scheduler.StartRun();
    scheduler.StartZentavo(); // opened by the user: shown normally
    ASSERT_EQ(starter.requests.size(), 2u);
    EXPECT_EQ(starter.requests[0].environment, QStringList{EnvRunMinimized + QStringLiteral("=1")});
    EXPECT_EQ(starter.requests[0].arguments, QStringList{QStringLiteral("/run")});
    EXPECT_TRUE(starter.requests[1].environment.isEmpty());
    EXPECT_TRUE(starter.requests[1].arguments.isEmpty());
}

TEST_F(SchedulerTest, ALastRunThatCannotBeStoredIsJournalled)
{
    ScarceSpace space;
    if (!space.mounted())
        GTEST_SKIP() << "a full disk of its own is needed: a file size limit would stop the journal too";
    platform::setRegistryFolder(space.folder() + QStringLiteral("registry"));
    createScheduleKey(1);
    SKIP_UNLESS_EXHAUSTED(space, 0);
    copies.DayOfWeek1Tag = ScheduleOnStartup;
    TScheduler scheduler({{}, copies});
    scheduler.StartupRun();
    ASSERT_EQ(starter.requests.size(), 1u);
    const QStringList lines = journalTexts();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], sRunZentavo);
    EXPECT_TRUE(lines[1].startsWith(sLastRunError + u' ')) << lines[1].toStdString();
    EXPECT_GT(lines[1].size(), sLastRunError.size() + 1) << "the reason is missing";
    EXPECT_EQ(storedLastRun(), QString());
}

TEST_F(SchedulerTest, LastRunIsWrittenOnlyWhereTheScheduleKeyExists)
{
    TScheduler scheduler({{}, copies});
    EXPECT_TRUE(scheduler.StartRun());
    EXPECT_EQ(RegistryKey::open(ScheduleKeyPath(), RegistryKey::Mode::OpenExisting), nullptr);
    // The main program opened from the menu is journalled, but is no "/run".
    createScheduleKey();
    EXPECT_TRUE(scheduler.StartZentavo());
    EXPECT_EQ(storedLastRun(), QString());
}

TEST_F(SchedulerTest, StartupRunHappensOncePerDayAcrossSchedulerStarts)
{
    copies.DayOfWeek1Tag = ScheduleOnStartup;
    {
        TScheduler scheduler({{}, copies});
        scheduler.StartupRun(); // no schedule key: no start-up run
    }
    EXPECT_TRUE(starter.requests.empty());

    createScheduleKey(1);
    {
        TScheduler scheduler({{}, copies});
        scheduler.StartupRun();
        EXPECT_EQ(starter.requests.size(), 1u);
        EXPECT_EQ(scheduler.LastRun(), QStringLiteral("2026-12-09"));
    }
    {
        TScheduler scheduler({{}, copies});
        scheduler.StartupRun();
        EXPECT_EQ(starter.requests.size(), 1u);
    }
    clock.clock().set(at(10, 8, 0));
    {
        TScheduler scheduler({{}, copies});
        scheduler.StartupRun();
        EXPECT_EQ(starter.requests.size(), 2u);
    }
}

TEST_F(SchedulerTest, EditorStartsBesideTheSchedulerAndIsWaitedForWhenAsked)
{
    TScheduler scheduler({{}, copies});
    EXPECT_TRUE(scheduler.StartEditor(true));
    ASSERT_EQ(starter.requests.size(), 1u);
    EXPECT_EQ(starter.requests[0].program, platform::siblingProgram(QStringLiteral("Pelvaro")));
    EXPECT_TRUE(starter.requests[0].wait);
    EXPECT_FALSE(scheduler.RunActive());
    EXPECT_FALSE(QFile::exists(JournalPath(copies)));
}

TEST_F(SchedulerTest, JournalOffAppendOrRewrite)
{
    copies.CheckBoxRunTag = 0;
    WriteJournal(copies, QStringLiteral("start"), true);
    EXPECT_FALSE(QFile::exists(JournalPath(copies)));

    copies.CheckBoxRunTag = 1;
    copies.CheckBoxRunAddTag = 0;
    WriteJournal(copies, QStringLiteral("start 1"), true);
    WriteJournal(copies, QStringLiteral("end 1"), false);
    WriteJournal(copies, QStringLiteral("start 2"), true);
    WriteJournal(copies, QStringLiteral("end 2"), false);
    EXPECT_EQ(journal(), (QStringList{QStringLiteral("start 2"), QStringLiteral("end 2")}));

    copies.CheckBoxRunAddTag = 1;
    WriteJournal(copies, QStringLiteral("start 3"), true);
    EXPECT_EQ(journal(), (QStringList{QStringLiteral("start 2"), QStringLiteral("end 2"), QStringLiteral("start 3")}));
}

TEST_F(SchedulerTest, JournalLimitCutsWholeLinesFromTheTopOnly)
{
    copies.EditRunSizeTag = 1;
    // A first line in the old code page's "Запуск" used to cost the third line too.
    QByteArray old = QByteArray("\xC7\xE0\xEF\xF3\xF1\xEA\r\n", 8);
    for (int i = 0; i < 40; ++i)
        old += QByteArray::number(i).rightJustified(30, 'x') + "\r\n";
    testfiles::writeBytes(JournalPath(copies), old);

    QStringList written;
    for (int i = 0; i < 60; ++i) {
        const QString line = QStringLiteral("line %1 ").arg(i) + QString(20, u'.');
        written << line;
        WriteJournal(copies, line, false);
        const QByteArray bytes = testfiles::readBytes(JournalPath(copies));
        ASSERT_LE(bytes.size(), 1024) << i;
        ASSERT_TRUE(bytes.endsWith(line.toUtf8() + "\r\n")) << i;
    }
    // What is left is an unbroken tail of what was written, and nearly fills the limit.
    const QStringList lines = journal();
    EXPECT_GT(lines.size() * 30, 1024 - 30);
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], written[written.size() - lines.size() + i]);

    // A limit of 0 or below is no limit.
    for (int limit : {0, -5}) {
        copies.EditRunSizeTag = limit;
        const qint64 before = QFileInfo(JournalPath(copies)).size();
        WriteJournal(copies, QString(2000, u'y'), false);
        EXPECT_GT(QFileInfo(JournalPath(copies)).size(), before + 2000);
    }
}

TEST_F(SchedulerTest, JournalThatCannotShrinkStillTakesItsLineAndEnds)
{
    // A journal in a folder the scheduler may not write to: the line can be
    // appended, but no trimmed copy can replace the file. Root writes
    // anywhere, so the writing is done by a child without root's rights.
    copies.EditRunSizeTag = 1;
    const QByteArray big(4096, 'a');
    const QString journalFile = JournalPath(copies);
    testfiles::writeBytes(journalFile, big + "\r\n");
    QFile::setPermissions(journalFile, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);

    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        constexpr uid_t Nobody = 65534;
        if (geteuid() == 0 && (setgid(Nobody) != 0 || setuid(Nobody) != 0))
            _exit(3);
        alarm(20); // a trimming loop that never ends fails the test instead of hanging it
        WriteJournal(copies, QStringLiteral("start"), true);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(WIFEXITED(status)) << "the journal writer did not end";
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(testfiles::readBytes(journalFile), big + "\r\nstart\r\n");
}

TEST_F(SchedulerTest, AMainProgramThatEndsWithoutReportingIsJournalledAndSchedulingGoesOn)
{
    createScheduleKey();
    TScheduler scheduler({{}, copies});
    scheduler.EndMessageGraceMs = 10;
    clock.clock().set(at(9, 22, 0));
    scheduler.TimerTimer();
    ASSERT_EQ(starter.requests.size(), 1u);
    ASSERT_TRUE(starter.requests[0].onEnd);
    starter.requests[0].onEnd(); // it crashed: no end message comes
    EXPECT_TRUE(testapp::waitUntil([&] { return !scheduler.RunActive(); }, 5000));
    EXPECT_EQ(
        journalTexts(),
        (QStringList{sRunZentavo, sRunZentavoError + QStringLiteral(": ended without reporting its end"), QString()}));
    clock.clock().set(at(10, 22, 0));
    scheduler.TimerTimer();
    ASSERT_EQ(starter.requests.size(), 2u);

    // A run that reported its end leaves nothing more when its process goes.
    scheduler.RunZentavoEnded();
    starter.requests[1].onEnd();
    QCoreApplication::processEvents();
    testapp::waitUntil([] { return false; }, 100);
    EXPECT_EQ(journalTexts().mid(3), (QStringList{sRunZentavo, sEndZentavo, QString()}));
}
