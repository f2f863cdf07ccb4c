#pragma once

#include "mail/SocketTalk.h"

#include <QObject>
#include <QString>

namespace smtpmail {

class TMailMessage;

enum THandshaking { hsAuto, hsManual };

// The SMTP dialogue for one message. Every operation returns success or
// failure and raises nothing; LastReply holds the server's text (or, when the
// server said nothing, why the step failed).
class TSmtpClient : public QObject {
    Q_OBJECT
public:
    explicit TSmtpClient(QObject *parent = nullptr);

    int Port = 25;
    QString Host;
    QString UserName;
    QString Password;
    TMailMessage *MailMessage = nullptr;
    qint64 PacketSize = 102400;
    THandshaking Handshaking = hsAuto;
    // The wait for the server's reply to the end of the message text, in
    // seconds: servers may take long to accept the data (RFC 5321 4.5.3.2).
    int DataEndTimeOut = 600;

    int TimeOut() const { return m_talk.TimeOut; }
    void SetTimeOut(int seconds) { m_talk.TimeOut = seconds; }
    void SetOnProgress(TProgressEvent handler) { m_talk.OnProgress = std::move(handler); }

    bool Connected() const { return m_connected; }
    bool AuthStarted() const { return m_authStarted; }

    bool Connect();
    bool SendHelo();
    bool SendEhlo();
    bool AuthLogin();
    bool Login();
    bool SendMailMessage();
    bool Quit();
    // Drops the connection without a command; also ends a wait in progress.
    void AbortSession();
    QString LastReply() const;
    // LastReply as it is shown to people: one entry per line, line ends
    // trimmed, control bytes written as \xNN; never empty.
    QStringList LastReplyLines() const;

private:
    bool SocketOpen();
    // Fails a step that sent nothing, with why instead of an older reply.
    bool Refuse(const QString &why);
    bool Ready();
    bool Exchange(const QByteArray &command, quint8 state, int waitSeconds = 0);
    bool SendSequence(const QString &sender, QStringList recipients);
    void CheckReply(quint8 state, bool &succeeded, const QByteArray &reply);

    TSocketTalk m_talk;
    bool m_connected = false;
    bool m_authStarted = false;
};

} // namespace smtpmail
