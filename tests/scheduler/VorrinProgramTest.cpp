// The real scheduler program with a stand-in main program beside it that
// notes how it was started and reports its end as the main program does.
#include "TestApplication.h"
#include "TestFiles.h"
#include "platform/RegistryKey.h"
#include "platform/WindowMessages.h"
#include "settings/VorrinStore.h"
#include "shared/SuiteMessages.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTime>

#include <gtest/gtest.h>

using namespace zentavo;
using platform::RegistryKey;
using testapp::waitUntil;

namespace {

constexpr int WaitMs = 15000;

class VorrinProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testapp::application();
        ASSERT_TRUE(dir.isValid());
        for (const char *folder : {"bin", "run", "config/zentavo", "journal"})
            ASSERT_TRUE(QDir().mkpath(path(QString::fromLatin1(folder))));
        QFile::setPermissions(path(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // A copy, so that the stand-in never replaces the real main program.
        ASSERT_TRUE(QFile::copy(QStringLiteral(VORRIN_PROGRAM), path(QStringLiteral("bin/Vorrin"))));
        const QString standIn = path(QStringLiteral("bin/Zentavo"));
        testfiles::writeBytes(standIn,
                              "#!/bin/sh\n"
                              "printf '%s|%s|%s\\n' \"$*\" \"$"
                                  + EnvRunMinimized.toLatin1() + "\" \"$PWD\" >> \"" + QFile::encodeName(calls())
                                  + "\"\n"
                                    "exec '" IPC_HELPER "' post TrayFormVorrin WM_RunZentavo 0 >/dev/null\n");
        QFile::setPermissions(standIn, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path(QStringLiteral("run"))));
        platform::setRegistryFolder(path(QStringLiteral("config/zentavo")));
        const auto main = RegistryKey::open(MainKeyPath(), RegistryKey::Mode::OpenOrCreate);
        ASSERT_TRUE(main);
        main->writeString(QStringLiteral("DefaultDat"), path(QStringLiteral("Jobs.dat")));
        main->writeInteger(QStringLiteral("RepRun"), 1);
        main->writeInteger(QStringLiteral("RepRunAdd"), 1);
        main->writeString(QStringLiteral("RepRunDir"), path(QStringLiteral("journal")));
        ASSERT_TRUE(main->flush());
        // "On startup", every start, minimised.
        writeSchedule(ScheduleOnStartup, {}, true);
    }

    void TearDown() override
    {
        for (auto &program : programs) {
            if (program->state() != QProcess::NotRunning) {
                program->kill();
                program->waitForFinished(WaitMs);
            }
        }
        platform::setRegistryFolder(QString());
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
    }

    static void writeSchedule(int code, const QStringList &times, bool minimised)
    {
        const auto key = RegistryKey::open(ScheduleKeyPath(), RegistryKey::Mode::OpenOrCreate);
        ASSERT_TRUE(key);
        // Every value, as a save leaves them: the load stops at a missing one.
        key->writeString(QStringLiteral("Times"), times.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
        key->writeInteger(QStringLiteral("NotWeekEnd"), 0);
        key->writeInteger(QStringLiteral("RunOnce"), 0);
        key->writeInteger(QStringLiteral("DaysOfWeek"), code);
        key->writeString(QStringLiteral("DaysOfMonth"), QString());
        key->writeInteger(QStringLiteral("Minimized"), minimised ? 1 : 0);
        ASSERT_TRUE(key->flush());
    }

    QString path(const QString &relative) const { return dir.filePath(relative); }
    QString calls() const { return path(QStringLiteral("calls.txt")); }

    QStringList linesOf(const QString &file) const
    {
        QStringList lines = QString::fromUtf8(testfiles::readBytes(file)).split(u'\n');
        lines.removeLast();
        return lines;
    }
    QStringList callLines() const { return linesOf(calls()); }
    QStringList journalTexts() const
    {
        QStringList texts;
        for (const QString &line : linesOf(path(QStringLiteral("journal/Vorrin.rep"))))
            texts << line.section(u'\t', 0, 0).remove(u'\r');
        return texts;
    }

    QProcess &startVorrin(const QString &runtimeFolder = {})
    {
        auto program = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           runtimeFolder.isEmpty() ? path(QStringLiteral("run")) : runtimeFolder);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program->setProcessEnvironment(environment);
        program->setWorkingDirectory(dir.path());
        program->start(path(QStringLiteral("bin/Vorrin")), {});
        EXPECT_TRUE(program->waitForStarted(WaitMs));
        programs.push_back(std::move(program));
        return *programs.back();
    }

    bool post(const QString &name, quint64 wParam) { return platform::postMessage(CaptionTrayVorrin, name, wParam); }

    QTemporaryDir dir;
    QByteArray oldRuntime;
    std::vector<std::unique_ptr<QProcess>> programs;
    const QString runEnded = QStringLiteral("The Zentavo successfully completed");
    const QString runStarts = QStringLiteral("The Zentavo starts");
};

} // namespace

TEST_F(VorrinProgramTest, StartUpRunUpdateAndExitWithAStandInMainProgram)
{
    QProcess &vorrin = startVorrin();
    const QString binFolder = QDir(path(QStringLiteral("bin"))).canonicalPath();
    ASSERT_TRUE(waitUntil([&] { return callLines().size() == 1; }, WaitMs))
        << vorrin.readAllStandardError().constData();
    EXPECT_EQ(callLines()[0], QStringLiteral("/run|1|") + binFolder);
    ASSERT_TRUE(waitUntil([&] { return journalTexts().size() == 3; }, WaitMs));
    EXPECT_EQ(journalTexts(), (QStringList{runStarts, runEnded, QString()}));

    // A daily time of this very minute (and the next, should the minute turn
    // meanwhile): the update checks the schedule at once.
    const QTime now = QTime::currentTime();
    writeSchedule(0, {now.toString(QStringLiteral("HH:mm")), now.addSecs(60).toString(QStringLiteral("HH:mm"))}, false);
    ASSERT_TRUE(post(MsgUpdateVorrin, 0));
    ASSERT_TRUE(waitUntil([&] { return callLines().size() == 2; }, WaitMs));
    EXPECT_EQ(callLines()[1], QStringLiteral("/run||") + binFolder);
    ASSERT_TRUE(waitUntil([&] { return journalTexts().size() == 6; }, WaitMs));
    EXPECT_EQ(journalTexts().mid(3), (QStringList{runStarts, runEnded, QString()}));

    ASSERT_TRUE(post(MsgServiceVorrin, 3));
    ASSERT_TRUE(vorrin.waitForFinished(WaitMs));
    EXPECT_EQ(vorrin.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(vorrin.exitCode(), 0);
    EXPECT_FALSE(platform::findWindow(CaptionTrayVorrin));
}

TEST_F(VorrinProgramTest, SecondSchedulerIsRefusedAndAKilledOneDoesNotBlockTheNext)
{
    QProcess &first = startVorrin();
    ASSERT_TRUE(waitUntil([&] { return callLines().size() == 1 && platform::findWindow(CaptionTrayVorrin); }, WaitMs));

    QProcess &second = startVorrin();
    QByteArray refusal;
    // Nobody could answer its box without a screen: it says so and ends.
    EXPECT_TRUE(second.waitForFinished(WaitMs));
    refusal = second.readAllStandardError();
    EXPECT_TRUE(refusal.contains("Programm already running!")) << refusal.constData();
    EXPECT_EQ(callLines().size(), 1); // the refused one started no run
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();
    ASSERT_TRUE(first.waitForFinished(WaitMs));
    QProcess &third = startVorrin();
    ASSERT_TRUE(waitUntil([&] { return callLines().size() == 2; }, WaitMs)) << third.readAllStandardError().constData();
    ASSERT_TRUE(waitUntil([&] { return platform::findWindow(CaptionTrayVorrin); }, WaitMs));
    ASSERT_TRUE(post(MsgServiceVorrin, 3));
    ASSERT_TRUE(third.waitForFinished(WaitMs));
    EXPECT_EQ(third.exitCode(), 0);
}

TEST_F(VorrinProgramTest, RealMainProgramReportsTheEndOfItsRun)
{
    const QString mainProgram = path(QStringLiteral("bin/Zentavo"));
    ASSERT_TRUE(QFile::remove(mainProgram));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZENTAVO_PROGRAM), mainProgram));
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("source"))));
    testfiles::writeBytes(path(QStringLiteral("source/a.txt")), "a file to back up");
    const QString jobFile = path(QStringLiteral("Jobs.dat"));
    testfiles::writeBytes(
        jobFile,
        testfiles::cp1251Lines({QStringLiteral("header"), QStringLiteral(">"), QStringLiteral("Job one"),
                                path(QStringLiteral("Backup.zip")),
                                QStringLiteral("D=") + path(QStringLiteral("source")), QStringLiteral("C=")}));
    {
        const auto main = RegistryKey::open(MainKeyPath(), RegistryKey::Mode::OpenOrCreate);
        main->writeString(QStringLiteral("DefaultDat"), jobFile);
        main->writeInteger(QStringLiteral("AutoClose"), 1);
        ASSERT_TRUE(main->flush());
    }

    QProcess &vorrin = startVorrin();
    ASSERT_TRUE(waitUntil([&] { return journalTexts().size() == 3; }, 60000))
        << vorrin.readAllStandardError().constData();
    EXPECT_EQ(journalTexts(), (QStringList{runStarts, runEnded, QString()}));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("Backup.zip"))));
    ASSERT_TRUE(post(MsgServiceVorrin, 3));
    ASSERT_TRUE(vorrin.waitForFinished(WaitMs));
}

TEST_F(VorrinProgramTest, DamagedSettingsAndAnUnusableRuntimeFolderAreToldWithoutAScreen)
{
    testfiles::writeBytes(path(QStringLiteral("config/zentavo/registry")),
                          "[Software\\Omberly Soft\\The Zentavo]\n" + QByteArray(100000, '\x01') + "\n");
    QProcess &damaged = startVorrin();
    QByteArray notice;
    EXPECT_TRUE(waitUntil(
        [&] {
            notice += damaged.readAllStandardError();
            return notice.contains("Job file is not connected");
        },
        WaitMs))
        << notice.constData();
    EXPECT_TRUE(notice.contains("is damaged (line 2: " + QByteArray("\\x01").repeated(80) + "...)"))
        << notice.constData();
    EXPECT_LT(notice.size(), 2000);
    ASSERT_TRUE(post(MsgServiceVorrin, 3));
    EXPECT_TRUE(damaged.waitForFinished(WaitMs));

    // A runtime folder below a file cannot be made.
    testfiles::writeBytes(path(QStringLiteral("file")), "not a folder");
    QProcess &homeless = startVorrin(path(QStringLiteral("file")));
    ASSERT_TRUE(homeless.waitForFinished(WaitMs));
    EXPECT_EQ(homeless.exitCode(), 1);
    const QByteArray reason = homeless.readAllStandardError();
    EXPECT_TRUE(reason.contains("Couldn't allocate memory block!")) << reason.constData();
    EXPECT_TRUE(
        reason.contains(QFile::encodeName(path(QStringLiteral("file/zentavo"))) + " cannot be used: Not a directory"))
        << reason.constData();
}

TEST_F(VorrinProgramTest, AMainProgramThatCrashesIsJournalledAndTheNextRunStillStarts)
{
    const QString crashing = path(QStringLiteral("bin/Zentavo"));
    testfiles::writeBytes(crashing,
                          "#!/bin/sh\nprintf '%s\\n' \"$*\" >> \"" + QFile::encodeName(calls()) + "\"\nkill -9 $$\n");
    QFile::setPermissions(crashing, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess &vorrin = startVorrin();
    ASSERT_TRUE(waitUntil([&] { return journalTexts().size() == 3; }, WaitMs))
        << vorrin.readAllStandardError().constData() << journalTexts().join(u'|').toStdString();
    EXPECT_EQ(journalTexts(),
              (QStringList{runStarts,
                           QStringLiteral("The Zentavo error executing: ended without "
                                          "reporting its end"),
                           QString()}));

    const QTime now = QTime::currentTime();
    writeSchedule(0, {now.toString(QStringLiteral("HH:mm")), now.addSecs(60).toString(QStringLiteral("HH:mm"))}, false);
    ASSERT_TRUE(post(MsgUpdateVorrin, 0));
    EXPECT_TRUE(waitUntil([&] { return callLines().size() == 2; }, WaitMs))
        << callLines().join(u'|').toStdString() << journalTexts().join(u'|').toStdString();
    ASSERT_TRUE(post(MsgServiceVorrin, 3));
    EXPECT_TRUE(vorrin.waitForFinished(WaitMs));
}
