#include "platform/ProgramStarter.h"

#include "TestApplication.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using platform::ProgramRun;
using platform::startProgram;

namespace {

// Sets a flag after a delay, so that a wait that should end by itself is
// still bounded when it does not.
class DelayedFlag {
public:
    explicit DelayedFlag(std::chrono::milliseconds delay)
        : m_thread([this, delay] {
            std::unique_lock lock(m_mutex);
            m_cancel.wait_for(lock, delay, [this] { return m_done; });
            flag = true;
        })
    {
    }
    ~DelayedFlag()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_cancel.notify_all();
        m_thread.join();
    }
    std::atomic<bool> flag{false};

private:
    std::mutex m_mutex;
    std::condition_variable m_cancel;
    bool m_done = false;
    std::thread m_thread;
};

bool waitForFile(const QString &path)
{
    for (int i = 0; i < 200 && !QFile::exists(path); ++i)
        QThread::msleep(50);
    return QFile::exists(path);
}

} // namespace

TEST(ProgramStarter, ProgramReceivesItsArgumentsExactly)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("args"));
    const QString line
        = QStringLiteral(R"(/bin/sh -c "printf '[%s]' \"$@\" > '%1'" sh "two words" "say ""hi""" back\\slash "")")
              .arg(out);
    const DelayedFlag timeout(std::chrono::seconds(20));
    EXPECT_EQ(startProgram(line, true, {&timeout.flag}), ProgramRun::Finished);
    EXPECT_EQ(testfiles::readBytes(out), QByteArray(R"([two words][say "hi"][back\\slash][])"));
}

TEST(ProgramStarter, MissingProgramFailsAtOnce)
{
    EXPECT_EQ(startProgram(QStringLiteral("/nonexistent/program arg"), true), ProgramRun::NotStarted);
    EXPECT_EQ(startProgram(QStringLiteral("/nonexistent/program arg"), false), ProgramRun::NotStarted);
    EXPECT_EQ(startProgram(QStringLiteral("\"\" arg"), false), ProgramRun::NotStarted);
    EXPECT_EQ(startProgram(QString(), true), ProgramRun::NotStarted);
}

TEST(ProgramStarter, ProgramReadingInputSeesItsEnd)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("read"));
    const DelayedFlag timeout(std::chrono::seconds(20));
    const QString line = QStringLiteral(R"(/bin/sh -c "cat; echo ended > '%1'")").arg(out);
    EXPECT_EQ(startProgram(line, true, {&timeout.flag}), ProgramRun::Finished);
    EXPECT_EQ(testfiles::readBytes(out), QByteArray("ended\n"));
}

TEST(ProgramStarter, StopFlagEndsTheWait)
{
    std::atomic<bool> unused{false};
    const DelayedFlag stop(std::chrono::milliseconds(300));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(startProgram(QStringLiteral("/bin/sleep 30"), true, {&unused, &stop.flag}), ProgramRun::Stopped);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

TEST(ProgramStarter, WithoutWaitTheProgramRunsOnItsOwn)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("detached"));
    EXPECT_EQ(startProgram(QStringLiteral(R"(/bin/sh -c "echo x > '%1'")").arg(out), false), ProgramRun::Started);
    EXPECT_TRUE(waitForFile(out));
}

TEST(ProgramStarter, TheEndOfAProgramNotWaitedForIsToldWhileItsContextLives)
{
    testapp::application();
    const auto openFiles = [] { return QDir(QStringLiteral("/proc/self/fd")).count(); };
    platform::ProgramRequest request;
    bool ended = false;
    request.onEnd = [&ended] { ended = true; };

    QObject context;
    request.onEndContext = &context;
    EXPECT_EQ(startProgram(QStringLiteral("/bin/sleep 0.2"), request), ProgramRun::Started);
    EXPECT_TRUE(testapp::waitUntil([&ended] { return ended; }, 10000));

    // A starter that ends before its program takes the watch along.
    ended = false;
    const auto before = openFiles();
    {
        QObject shortLived;
        request.onEndContext = &shortLived;
        EXPECT_EQ(startProgram(QStringLiteral("/bin/sleep 1"), request), ProgramRun::Started);
        EXPECT_EQ(openFiles(), before + 1); // the watch on its end
    }
    EXPECT_EQ(openFiles(), before);
    testapp::waitUntil([] { return false; }, 1500);
    EXPECT_FALSE(ended);
}

TEST(ProgramStarter, AWaitThatProcessesEventsKeepsTheThreadsEventsFlowing)
{
    testapp::application();
    int ticks = 0;
    QTimer clock;
    QObject::connect(&clock, &QTimer::timeout, [&ticks] { ++ticks; });
    clock.start(20);
    platform::ProgramRequest request;
    request.wait = true;
    request.processEvents = true;
    const DelayedFlag timeout(std::chrono::seconds(20));
    EXPECT_EQ(startProgram(QStringLiteral("/bin/sleep 0.5"), request, {&timeout.flag}), ProgramRun::Finished);
    EXPECT_GT(ticks, 5) << "no events were handled while the program ran";

    const DelayedFlag stop(std::chrono::milliseconds(300));
    EXPECT_EQ(startProgram(QStringLiteral("/bin/sleep 30"), request, {&stop.flag}), ProgramRun::Stopped);
}
