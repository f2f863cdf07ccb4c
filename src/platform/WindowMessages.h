#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QTimer;

// Registered window messages between the programs of the suite. A program
// finds another one by the caption of a window and posts it a message that
// carries nothing but a number (wParam). Each shown caption is a local
// socket in the runtime folder; a message is one line "NAME WPARAM".
namespace platform {

// A window that the other programs can find by its caption and post
// messages to. Create it on the GUI thread: messages arrive there.
class MessageWindow : public QObject {
    Q_OBJECT

public:
    explicit MessageWindow(QObject *parent = nullptr);
    ~MessageWindow() override;

    // Shows the window under the caption; an empty caption hides it. False
    // when the caption cannot be shown: another live window shows it, or the
    // runtime folder is not usable. A socket left behind by a program that
    // died is removed. While another window shows the caption, this one
    // keeps trying and takes the caption once it is free, so a program
    // started second becomes reachable when the first one ends.
    bool setCaption(const QString &caption);
    // The caption shown; empty while none is (yet).
    QString caption() const { return m_caption; }

signals:
    void messageReceived(const QString &name, quint64 wParam);

private:
    enum class Taken { Yes, Busy, Impossible };
    Taken takeCaption(const QString &caption);
    void acceptConnections();
    void readMessage(QLocalSocket *socket);

    std::unique_ptr<QLocalServer> m_server;
    QString m_caption;
    QString m_wanted; // the caption to take once it is free
    QTimer *m_retry;
};

// True when a window shows the caption.
bool findWindow(const QString &caption);

// Posts the message to the window that shows the caption; False when no
// window shows it or it could not take the message. Never waits for the
// receiver to act and never blocks for more than a second.
bool postMessage(const QString &caption, const QString &name, quint64 wParam);

} // namespace platform
