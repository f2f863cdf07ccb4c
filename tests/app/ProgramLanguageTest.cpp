// The real programs as a user in another language meets them.
#include "SuiteUser.h"
#include "TestFiles.h"

#include <QElapsedTimer>
#include <QLibraryInfo>
#include <QThread>

#include <gtest/gtest.h>

// Each program shows Qt's own texts (the standard buttons and dialogs) in
// the user's language: started in a Russian locale, it holds Qt's Russian
// translation (a translator keeps its file mapped while it is loaded).
TEST(ProgramLanguage, EveryProgramLoadsQtsOwnTranslations)
{
    const QString translation = QStringLiteral("qtbase_ru.qm");
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u'/' + translation))
        GTEST_SKIP() << "Qt's Russian translation is not installed";
    SuiteUser user;
    for (const char *program : {ZENTAVO_PROGRAM, PELVARO_PROGRAM, VORRIN_PROGRAM}) {
        SCOPED_TRACE(program);
        QProcessEnvironment environment = user.environment();
        environment.remove(QStringLiteral("LC_ALL"));
        environment.remove(QStringLiteral("LC_MESSAGES"));
        environment.insert(QStringLiteral("LANG"), QStringLiteral("ru_RU.UTF-8"));
        environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("ru"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(user.path(QString()));
        process.start(QString::fromLocal8Bit(program), {});
        ASSERT_TRUE(process.waitForStarted(10000));
        const QString maps = QStringLiteral("/proc/%1/maps").arg(process.processId());
        bool loaded = false;
        QElapsedTimer waited;
        waited.start();
        while (!loaded && process.state() == QProcess::Running && waited.elapsed() < 20000) {
            loaded = testfiles::readBytes(maps).contains(translation.toLatin1());
            QThread::msleep(50);
        }
        process.kill();
        process.waitForFinished(10000);
        EXPECT_TRUE(loaded);
    }
}
