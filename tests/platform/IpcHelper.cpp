// A second process for the tests of the messages between the programs and
// of the single-instance guard:
//   IpcHelper post CAPTION NAME WPARAM   prints "posted" or "not posted"
//   IpcHelper show CAPTION               prints "shown", then shows the
//                                        caption until killed (60 s at most)
//   IpcHelper hold NAME                  prints "held" or "busy", then holds
//                                        the lock until killed (60 s at most)
#include "platform/FileLock.h"
#include "platform/WindowMessages.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args.at(1) == u"post") {
        const bool posted = platform::postMessage(args.at(2), args.at(3), args.at(4).toULongLong());
        std::puts(posted ? "posted" : "not posted");
        return 0;
    }
    if (args.size() == 3 && args.at(1) == u"show") {
        platform::MessageWindow window;
        std::puts(window.setCaption(args.at(2)) ? "shown" : "not shown");
        std::fflush(stdout);
        QThread::sleep(60);
        return 0;
    }
    if (args.size() == 3 && args.at(1) == u"hold") {
        const platform::InstanceLock lock(args.at(2));
        std::puts(lock.state() == platform::FileLock::State::Held ? "held" : "busy");
        std::fflush(stdout);
        QThread::sleep(60);
        return 0;
    }
    return 2;
}
