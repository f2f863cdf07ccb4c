#include "platform/WindowMessages.h"
#include "platform/FileLock.h"
#include "platform/RuntimeFolder.h"

#include "TestApplication.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

using platform::FileLock;
using platform::MessageWindow;

namespace {

struct Received {
    QString name;
    quint64 wParam = 0;
};

// Each test gets its own runtime folder through XDG_RUNTIME_DIR, which the
// helper process inherits.
class WindowMessagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testapp::application();
        ASSERT_TRUE(m_dir.isValid());
        m_oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path()));
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", m_oldRuntime); }

    static void collect(MessageWindow &window, QList<Received> &into)
    {
        QObject::connect(&window, &MessageWindow::messageReceived, [&into](const QString &name, quint64 wParam) {
            into.append({name, wParam});
        });
    }

    // Runs the helper and returns its first output line; the process stays
    // running when it holds a lock.
    static QString startHelper(QProcess &helper, const QStringList &arguments)
    {
        helper.start(QStringLiteral(IPC_HELPER), arguments);
        if (!helper.waitForStarted(5000))
            return QStringLiteral("not started");
        testapp::waitUntil([&helper] { return helper.canReadLine() || helper.state() == QProcess::NotRunning; });
        return QString::fromUtf8(helper.readLine()).trimmed();
    }

    QTemporaryDir m_dir;
    QByteArray m_oldRuntime;
};

} // namespace

TEST_F(WindowMessagesTest, MessagesReachTheWindowOfTheirCaption)
{
    MessageWindow tray;
    MessageWindow mainWindow;
    QList<Received> trayGot;
    QList<Received> mainGot;
    collect(tray, trayGot);
    collect(mainWindow, mainGot);
    ASSERT_TRUE(tray.setCaption(QStringLiteral("TrayFormVorrin")));
    ASSERT_TRUE(mainWindow.setCaption(QStringLiteral("The Zentavo")));
    EXPECT_TRUE(QFileInfo(m_dir.path() + QStringLiteral("/zentavo")).permissions()
                == (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser | QFile::WriteUser
                    | QFile::ExeUser));

    EXPECT_TRUE(platform::findWindow(QStringLiteral("TrayFormVorrin")));
    EXPECT_TRUE(platform::postMessage(QStringLiteral("TrayFormVorrin"), QStringLiteral("WM_UpdateVorrin"), 0));
    EXPECT_TRUE(platform::postMessage(QStringLiteral("The Zentavo"), QStringLiteral("WM_UpdateVorrin"), 1));
    EXPECT_TRUE(platform::postMessage(QStringLiteral("TrayFormVorrin"), QStringLiteral("WM_ServiceVorrin"), 3));
    ASSERT_TRUE(testapp::waitUntil([&] { return trayGot.size() == 2 && mainGot.size() == 1; }));
    // Each message arrives once, in order, at its own window only.
    EXPECT_EQ(trayGot.at(0).name, QStringLiteral("WM_UpdateVorrin"));
    EXPECT_EQ(trayGot.at(0).wParam, 0u);
    EXPECT_EQ(trayGot.at(1).name, QStringLiteral("WM_ServiceVorrin"));
    EXPECT_EQ(trayGot.at(1).wParam, 3u);
    EXPECT_EQ(mainGot.at(0).name, QStringLiteral("WM_UpdateVorrin"));
    EXPECT_EQ(mainGot.at(0).wParam, 1u);

    // A hidden window is not found; its socket is gone.
    ASSERT_TRUE(mainWindow.setCaption(QString()));
    EXPECT_FALSE(platform::findWindow(QStringLiteral("The Zentavo")));
    EXPECT_EQ(QDir(m_dir.path() + QStringLiteral("/zentavo")).entryList(QDir::System).size(), 1);
}

TEST_F(WindowMessagesTest, MessageFromAnotherProcessArrives)
{
    MessageWindow tray;
    QList<Received> got;
    collect(tray, got);
    ASSERT_TRUE(tray.setCaption(QStringLiteral("TrayFormVorrin")));
    QProcess helper;
    helper.start(QStringLiteral(IPC_HELPER),
                 {QStringLiteral("post"), QStringLiteral("TrayFormVorrin"), QStringLiteral("WM_RunZentavo"),
                  QStringLiteral("0")});
    // The message loop must keep running while the other process posts.
    ASSERT_TRUE(testapp::waitUntil([&] { return helper.state() == QProcess::NotRunning; }));
    EXPECT_EQ(QString::fromUtf8(helper.readAllStandardOutput()).trimmed(), QStringLiteral("posted"));
    ASSERT_TRUE(testapp::waitUntil([&] { return got.size() == 1; }));
    EXPECT_EQ(got.at(0).name, QStringLiteral("WM_RunZentavo"));
}

TEST_F(WindowMessagesTest, NobodyShowingTheCaptionFailsAtOnce)
{
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(platform::findWindow(QStringLiteral("TrayFormVorrin")));
    EXPECT_FALSE(platform::postMessage(QStringLiteral("TrayFormVorrin"), QStringLiteral("WM_UpdateVorrin"), 0));
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST_F(WindowMessagesTest, StaleSocketIsReplaced)
{
    // A program killed while showing its caption leaves its socket behind.
    QProcess shower;
    ASSERT_EQ(startHelper(shower, {QStringLiteral("show"), QStringLiteral("TrayFormVorrin")}), QStringLiteral("shown"));
    ::kill(pid_t(shower.processId()), SIGKILL);
    ASSERT_TRUE(shower.waitForFinished(5000));
    ASSERT_TRUE(QFileInfo::exists(*platform::runtimeFolder() + QStringLiteral("/TrayFormVorrin")));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(platform::findWindow(QStringLiteral("TrayFormVorrin")));
    EXPECT_FALSE(platform::postMessage(QStringLiteral("TrayFormVorrin"), QStringLiteral("WM_UpdateVorrin"), 0));
    EXPECT_LT(clock.elapsed(), 1000);

    MessageWindow tray;
    QList<Received> got;
    collect(tray, got);
    ASSERT_TRUE(tray.setCaption(QStringLiteral("TrayFormVorrin")));
    EXPECT_TRUE(platform::postMessage(QStringLiteral("TrayFormVorrin"), QStringLiteral("WM_UpdateVorrin"), 0));
    EXPECT_TRUE(testapp::waitUntil([&] { return got.size() == 1; }));
}

TEST_F(WindowMessagesTest, LiveCaptionIsNotTakenOver)
{
    MessageWindow first;
    MessageWindow second;
    ASSERT_TRUE(first.setCaption(QStringLiteral("The Zentavo")));
    EXPECT_FALSE(second.setCaption(QStringLiteral("The Zentavo")));
    EXPECT_TRUE(platform::findWindow(QStringLiteral("The Zentavo")));
}

TEST_F(WindowMessagesTest, SecondWindowTakesTheCaptionWhenTheFirstEnds)
{
    QProcess first;
    ASSERT_EQ(startHelper(first, {QStringLiteral("show"), QStringLiteral("The Zentavo")}), QStringLiteral("shown"));
    MessageWindow second;
    QList<Received> got;
    collect(second, got);
    EXPECT_FALSE(second.setCaption(QStringLiteral("The Zentavo")));
    first.kill();
    first.waitForFinished();
    ASSERT_TRUE(testapp::waitUntil([&] { return second.caption() == QStringLiteral("The Zentavo"); }));
    EXPECT_TRUE(platform::postMessage(QStringLiteral("The Zentavo"), QStringLiteral("WM_UpdateVorrin"), 1));
    EXPECT_TRUE(testapp::waitUntil([&] { return got.size() == 1; }));
}

TEST_F(WindowMessagesTest, MalformedLinesAreDropped)
{
    MessageWindow tray;
    QList<Received> got;
    collect(tray, got);
    ASSERT_TRUE(tray.setCaption(QStringLiteral("TrayFormVorrin")));
    for (const QByteArray &line : {QByteArray("WM_UpdateVorrin x\n"), QByteArray("\n"), QByteArray("WM_UpdateVorrin 1"),
                                   QByteArray(1000, 'x') + " 1\n"}) {
        QLocalSocket socket;
        socket.connectToServer(*platform::runtimeFolder() + QStringLiteral("/TrayFormVorrin"));
        ASSERT_TRUE(socket.waitForConnected(1000));
        socket.write(line);
        socket.waitForBytesWritten(1000);
        socket.disconnectFromServer();
    }
    EXPECT_FALSE(platform::postMessage(QStringLiteral("TrayFormVorrin"), QStringLiteral("Two words"), 1));
    EXPECT_TRUE(platform::postMessage(QStringLiteral("TrayFormVorrin"), QStringLiteral("WM_UpdateVorrin"), 7));
    ASSERT_TRUE(testapp::waitUntil([&] { return !got.isEmpty(); }));
    testapp::waitUntil([] { return false; }, 200);
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got.at(0).wParam, 7u);
}

TEST_F(WindowMessagesTest, AnyCaptionTextCanBeShown)
{
    // Translated captions may hold any character and be too long for a
    // socket name.
    for (const QString &caption : {QString(40, QChar(0x0416)), QStringLiteral("../a/b c")}) {
        MessageWindow window;
        QList<Received> got;
        collect(window, got);
        ASSERT_TRUE(window.setCaption(caption));
        EXPECT_TRUE(platform::postMessage(caption, QStringLiteral("WM_UpdateVorrin"), 1));
        EXPECT_TRUE(testapp::waitUntil([&] { return got.size() == 1; }));
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("zentavo")});
}

TEST_F(WindowMessagesTest, SecondInstanceIsRefusedUntilTheFirstDies)
{
    QProcess holder;
    ASSERT_EQ(startHelper(holder, {QStringLiteral("hold"), QStringLiteral("VorrinMap")}), QStringLiteral("held"));
    {
        const platform::InstanceLock second(QStringLiteral("VorrinMap"));
        EXPECT_EQ(second.state(), FileLock::State::HeldElsewhere);
    }
    // A crash releases the lock: the kernel drops it with the process.
    ::kill(pid_t(holder.processId()), SIGKILL);
    ASSERT_TRUE(holder.waitForFinished(5000));
    const platform::InstanceLock again(QStringLiteral("VorrinMap"));
    EXPECT_EQ(again.state(), FileLock::State::Held);
    QProcess third;
    EXPECT_EQ(startHelper(third, {QStringLiteral("hold"), QStringLiteral("VorrinMap")}), QStringLiteral("busy"));
    third.kill();
    third.waitForFinished(5000);
}

TEST_F(WindowMessagesTest, FallsBackToTemporaryFolderWithoutRuntimeDir)
{
    QTemporaryDir temp;
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    const std::optional<QString> folder = platform::runtimeFolder();
    qputenv("TMPDIR", oldTemp);
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->startsWith(temp.path() + QStringLiteral("/zentavo-")));
    EXPECT_EQ(QFileInfo(*folder).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
}

TEST_F(WindowMessagesTest, ForeignOrOpenFolderIsFixedOrRefused)
{
    const QString folder = m_dir.path() + QStringLiteral("/zentavo");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile::setPermissions(folder, QFile::Permissions(0x7777));
    ASSERT_TRUE(platform::runtimeFolder());
    EXPECT_EQ(QFileInfo(folder).permissions() & QFile::WriteOther, QFile::Permissions());
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(QFile::link(m_dir.path(), folder));
    EXPECT_FALSE(platform::runtimeFolder());
}
