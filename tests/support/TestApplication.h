#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <functional>

namespace testapp {

// The one application object of a test program, made on first use:
// QCoreApplication for sockets and timers, QApplication for widgets.
template <class Application = QCoreApplication>
Application &application()
{
    static int argc = 1;
    static char name[] = "tests";
    static char *argv[] = {name, nullptr};
    static Application instance(argc, argv);
    return instance;
}

// Processes events until the condition holds or the time is up; the
// condition's last answer.
inline bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 5000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

} // namespace testapp
