#pragma once

#include <QByteArray>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include <functional>

class QEventLoop;

namespace smtpmail {

// Kind of the last failure of a talk.
enum TTalkError : quint8 {
    teGeneral = 0,
    teSend = 1,
    teReceive = 2,
    teConnect = 3,
    teDisconnect = 4,
    teAccept = 5,
    teTimeOut = 6,
    teNone = 7,
};

using TProgressEvent = std::function<void(QObject *sender, qint64 total, qint64 current)>;

// Command and reply over one TCP connection. A wait runs a local event loop,
// so the caller's thread keeps handling timers and clicks; it is armed before
// the connect or write it waits for, and it ends with a complete reply, a
// socket error, the server's disconnect, an abort, or the time-out counted
// from the last sign of life (a received packet or written data). A wait
// also ends, as failed, when the application quits: its event loops then end
// at once and no reply could arrive any more.
class TSocketTalk : public QObject {
    Q_OBJECT
public:
    explicit TSocketTalk(QObject *owner);
    ~TSocketTalk() override;

    int TimeOut = 60;          // seconds, for one wait
    qint64 SendPacketSize = 0; // chunk size of the next send; 0 sends in one piece
    QByteArray Reply;          // everything received since the wait was armed
    QString ErrorText;         // why the last wait failed without a reply
    quint8 ErrorKind = teNone;
    quint8 TalkState = 0;
    bool Waiting = false;
    bool Succeeded = false;

    TProgressEvent OnProgress;
    // Judges a complete reply; the default refuses it.
    std::function<void(quint8 state, bool &succeeded, const QByteArray &reply)> OnReplyComplete;
    std::function<void(quint8 state, quint8 kind)> OnTalkError;
    std::function<void()> OnTalkDisconnect;

    QTcpSocket &Socket() { return m_socket; }
    // Arms a wait without sending anything (the greeting after connecting).
    void ExpectReply(quint8 state);
    // Connects to the server, a name or a dotted numeric address.
    void Open(const QString &host, quint16 port);
    // Arms a wait, then sends the command, in chunks with progress when
    // SendPacketSize asks for it. waitSeconds, when given, replaces TimeOut
    // for this exchange.
    void Talk(const QByteArray &command, quint8 state, int waitSeconds = 0);
    // Runs events until the armed wait has ended; the result is Succeeded.
    bool WaitReply();
    // Forgets the pending exchange without a callback.
    void Cancel();
    // Drops the connection at once; a pending wait ends as failed.
    void Abort();

    // A reply is complete when its last complete line holds a three-digit
    // code followed by a blank or nothing.
    static bool IsReplyComplete(const QByteArray &reply);
    // The code of that last line.
    static QByteArray ReplyCode(const QByteArray &reply);

private:
    void Arm(quint8 state, int waitSeconds);
    void RestartTimer();
    void SendChunked(const QByteArray &command);
    void RunEventsUntil(const std::function<bool()> &done);
    void EndWait(quint8 kind, const QString &text);
    void Wake();
    void SocketRead();
    void SocketError(QAbstractSocket::SocketError error);
    void SocketDisconnect();
    void TimerExpired();
    void DataWritten();
    void SocketConnected();
    QString NoConnectionText() const;

    QObject *m_owner;
    QTcpSocket m_socket;
    QTimer m_timer;
    QEventLoop *m_loop = nullptr;
    bool m_woken = false;         // this talk ended the running loop
    int m_waitSeconds = 0;        // the time limit of the armed wait
    bool m_reachedServer = false; // the socket connected since Open
    QString m_peer;               // "host port n", of the last Open
};

} // namespace smtpmail
