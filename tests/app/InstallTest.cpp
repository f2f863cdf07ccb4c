// The suite installed into a temporary prefix with cmake --install, and
// its programs run from there as a user runs them: through the links in
// bin/, in English until the Russian file is linked into the program folder.
#include "SuiteUser.h"
#include "TestApplication.h"
#include "TestFiles.h"
#include "settings/VorrinControls.h"
#include "shared/ConstStr.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using testapp::waitUntil;

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testapp::application();
        ASSERT_TRUE(prefix.isValid());
        QProcess install;
        install.start(
            QStringLiteral(CMAKE_PROGRAM),
            {QStringLiteral("--install"), QStringLiteral(BUILD_DIR), QStringLiteral("--prefix"), prefix.path()});
        ASSERT_TRUE(install.waitForFinished(120000));
        ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().constData();
    }

    QString installed(const QString &relative) const { return prefix.filePath(relative); }

    // A job that archives one file of the user's folder.
    QString writeJob() const
    {
        testfiles::writeBytes(user.path(QStringLiteral("letter.txt")), "Dear reader");
        const QString job = user.path(QStringLiteral("Jobs.dat"));
        testfiles::writeBytes(
            job,
            testfiles::cp1251Lines({QStringLiteral("header"), QStringLiteral(">"), QStringLiteral("Letters"),
                                    user.path(QStringLiteral("out/Letters.zip")),
                                    QStringLiteral("D=") + user.path(QStringLiteral("letter.txt")),
                                    QStringLiteral("C="), QStringLiteral("E=")}));
        auto key = SuiteUser::mainKey();
        key->writeString(QStringLiteral("DefaultDat"), job);
        key->writeInteger(QStringLiteral("AutoClose"), 1);
        key->writeString(QStringLiteral("ReportDir"), user.path(QString()));
        key->writeString(QStringLiteral("RepRunDir"), user.path(QString()));
        EXPECT_TRUE(key->flush());
        return job;
    }

    QString report() const { return QString::fromUtf8(testfiles::readBytes(user.path(QStringLiteral("Report.txt")))); }

    QTemporaryDir prefix;
    SuiteUser user;
};

TEST_F(InstallTest, PutsTheProgramsInOneFolderWithLinksMenuEntriesAndTheLanguageFileApart)
{
    const QString programs = installed(QStringLiteral("lib/zentavo/"));
    for (const char *name : {"Zentavo", "Pelvaro", "Vorrin"}) {
        const QString program = QString::fromLatin1(name);
        EXPECT_TRUE(QFileInfo(programs + program).isExecutable()) << name;
        const QFileInfo link(installed(QStringLiteral("bin/") + program));
        EXPECT_TRUE(link.isSymLink()) << name;
        EXPECT_EQ(link.canonicalFilePath(), QFileInfo(programs + program).canonicalFilePath()) << name;
    }
    EXPECT_TRUE(QFileInfo::exists(programs + QStringLiteral("SFXStub.exe")));
    EXPECT_TRUE(QFileInfo::exists(programs + QStringLiteral("Zentavo.chm")));
    EXPECT_FALSE(QFileInfo::exists(programs + QStringLiteral("Russian.lng")));
    EXPECT_EQ(testfiles::readBytes(installed(QStringLiteral("share/zentavo/Russian.lng"))),
              testfiles::readBytes(QStringLiteral(SOURCE_DIR "/src/shared/lang/Russian.lng")));
    EXPECT_TRUE(QFileInfo::exists(installed(QStringLiteral("share/icons/hicolor/48x48/apps/vorrin.png"))));

    // Each entry starts an installed program.
    static const QRegularExpression execLine(QStringLiteral("^Exec=(\\S+)"), QRegularExpression::MultilineOption);
    const struct {
        const char *entry;
        const char *program;
    } entries[] = {{"share/applications/zentavo.desktop", "Zentavo"},
                   {"share/applications/pelvaro.desktop", "Pelvaro"},
                   {"share/applications/vorrin.desktop", "Vorrin"},
                   {"share/zentavo/autostart/vorrin.desktop", "Vorrin"}};
    for (const auto &entry : entries) {
        const QString text = QString::fromUtf8(testfiles::readBytes(installed(QString::fromLatin1(entry.entry))));
        EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\nType=Application\n"))) << entry.entry;
        const QString exec = execLine.match(text).captured(1);
        EXPECT_EQ(exec, installed(QStringLiteral("bin/") + QString::fromLatin1(entry.program))) << entry.entry;
        EXPECT_TRUE(QFileInfo(exec).isExecutable()) << entry.entry;
    }
}

TEST_F(InstallTest, TheInstalledMainProgramRunsThroughItsLinkInEnglish)
{
    const QString job = writeJob();
    EXPECT_EQ(
        user.run(installed(QStringLiteral("bin/Zentavo")), {QStringLiteral("/run"), QStringLiteral("/close"), job}), 0)
        << user.errors.constData();
    EXPECT_TRUE(QFileInfo::exists(user.path(QStringLiteral("out/Letters.zip"))));
    EXPECT_TRUE(report().contains(QStringLiteral("Letters - Ok!"))) << qPrintable(report());
    EXPECT_TRUE(user.errors.isEmpty()) << user.errors.constData();
}

TEST_F(InstallTest, EveryProgramStartsWithTheRussianFileLinkedIntoTheProgramFolder)
{
    ASSERT_TRUE(QFile::link(QStringLiteral("../../share/zentavo/Russian.lng"),
                            installed(QStringLiteral("lib/zentavo/Russian.lng"))));
    const QString job = writeJob();

    // The main program writes its report in Russian.
    EXPECT_EQ(
        user.run(installed(QStringLiteral("bin/Zentavo")), {QStringLiteral("/run"), QStringLiteral("/close"), job}), 0)
        << user.errors.constData();
    EXPECT_TRUE(report().contains(QStringLiteral("Начало процесса"))) << qPrintable(report());
    EXPECT_TRUE(report().contains(QStringLiteral("Letters - Выполнено!"))) << qPrintable(report());

    // The scheduler's start-up run journals its start and the end in Russian.
    {
        const auto schedule
            = platform::RegistryKey::open(zentavo::ScheduleKeyPath(), platform::RegistryKey::Mode::OpenOrCreate);
        schedule->writeString(QStringLiteral("Times"), QString());
        schedule->writeInteger(QStringLiteral("NotWeekEnd"), 0);
        schedule->writeInteger(QStringLiteral("RunOnce"), 0);
        schedule->writeInteger(QStringLiteral("DaysOfWeek"), zentavo::ScheduleOnStartup);
        schedule->writeString(QStringLiteral("DaysOfMonth"), QString());
        schedule->writeInteger(QStringLiteral("Minimized"), 0);
        ASSERT_TRUE(schedule->flush());
    }
    const auto vorrin = user.start(installed(QStringLiteral("bin/Vorrin")));
    const QString journal = user.path(QStringLiteral("Vorrin.rep"));
    const auto journalText = [&] { return QString::fromUtf8(testfiles::readBytes(journal)); };
    EXPECT_TRUE(
        waitUntil([&] { return journalText().contains(QStringLiteral("Работа Zentavo успешно завершена")); }, 60000))
        << qPrintable(journalText());
    EXPECT_TRUE(journalText().contains(QStringLiteral("Запуск Zentavo"))) << qPrintable(journalText());
    EXPECT_EQ(vorrin->state(), QProcess::Running);
    vorrin->kill();
    vorrin->waitForFinished();

    // The editor starts with it and stays up.
    const auto pelvaro = user.start(installed(QStringLiteral("bin/Pelvaro")), {job});
    ASSERT_TRUE(pelvaro->waitForStarted());
    EXPECT_FALSE(pelvaro->waitForFinished(2000));
    pelvaro->kill();
    pelvaro->waitForFinished();
    EXPECT_TRUE(pelvaro->readAllStandardError().isEmpty());
}

} // namespace
