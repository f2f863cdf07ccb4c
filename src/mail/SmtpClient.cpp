#include "SmtpClient.h"

#include "mail/MailAddresses.h"
#include "mail/MailEncodings.h"
#include "mail/MailMessage.h"
#include "mail/MailNames.h"
#include "platform/Clock.h"

#include <QHostInfo>

namespace smtpmail {

namespace {

// Exchanges of the dialogue (TSocketTalk::TalkState).
enum TSmtpState : quint8 {
    ssGreeting = 1,
    ssHelo = 9,
    ssMailFrom = 10,
    ssRcptTo = 11,
    ssEhlo = 12,
    ssAuthUser = 13,
    ssAuthPassword = 14,
    ssAuthLogin = 15,
    ssData = 17,
    ssMessageEnd = 18,
    ssQuit = 19,
};

QByteArray acceptedCode(quint8 state)
{
    switch (state) {
    case ssGreeting: return "220";
    case ssHelo:
    case ssMailFrom:
    case ssRcptTo:
    case ssEhlo:
    case ssMessageEnd: return "250";
    case ssAuthUser:
    case ssAuthLogin: return "334";
    case ssAuthPassword: return "235";
    case ssData: return "354";
    case ssQuit: return "221";
    default: return {};
    }
}

QByteArray localHostName()
{
    const QString name = QHostInfo::localHostName();
    return name.isEmpty() ? QByteArrayLiteral("localhost") : name.toUtf8();
}

// Every line that begins with "." gets one more, and the data ends with
// CR LF "." CR LF without an empty line added to a text that ends in CR LF.
QByteArray dataText(const QByteArray &text)
{
    QByteArray stuffed = text;
    stuffed.replace("\n.", "\n..");
    if (stuffed.startsWith('.'))
        stuffed.prepend('.');
    if (!stuffed.endsWith("\r\n"))
        stuffed += "\r\n";
    return stuffed + ".\r\n";
}

// One reply line for people: control bytes escaped, the rest read as UTF-8.
QString readableLine(const QByteArray &line)
{
    QByteArray shown;
    for (const char byte : line) {
        const uchar c = uchar(byte);
        if (c < 0x20 || c == 0x7F)
            shown += "\\x" + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
        else
            shown += byte;
    }
    return QString::fromUtf8(shown);
}

} // namespace

TSmtpClient::TSmtpClient(QObject *parent) : QObject(parent), m_talk(this)
{
    m_talk.OnReplyComplete
        = [this](quint8 state, bool &succeeded, const QByteArray &reply) { CheckReply(state, succeeded, reply); };
    m_talk.OnTalkError = [this](quint8, quint8) { m_talk.Cancel(); };
    m_talk.OnTalkDisconnect = [this] { m_connected = false; };
}

void TSmtpClient::CheckReply(quint8 state, bool &succeeded, const QByteArray &reply)
{
    const QByteArray code = acceptedCode(state);
    succeeded = !code.isEmpty() && TSocketTalk::ReplyCode(reply) == code;
}

bool TSmtpClient::SocketOpen()
{
    return m_talk.Socket().state() == QAbstractSocket::ConnectedState;
}

// Connected, and no other exchange under way (a handler run during a wait
// must not start a second one).
bool TSmtpClient::Ready()
{
    return m_connected && SocketOpen() && !m_talk.Waiting;
}

bool TSmtpClient::Refuse(const QString &why)
{
    m_talk.Reply.clear();
    m_talk.ErrorText = why;
    return false;
}

bool TSmtpClient::Exchange(const QByteArray &command, quint8 state, int waitSeconds)
{
    m_talk.Talk(command, state, waitSeconds);
    return m_talk.WaitReply();
}

bool TSmtpClient::Connect()
{
    if (m_connected || m_talk.Waiting || m_talk.Socket().state() != QAbstractSocket::UnconnectedState)
        return false;
    if (Host.trimmed().isEmpty())
        return Refuse(QStringLiteral("No SMTP server is given"));
    m_authStarted = false;
    m_talk.ExpectReply(ssGreeting);
    m_talk.Open(Host, quint16(Port));
    if (!m_talk.WaitReply())
        return false;
    if (Handshaking == hsManual) {
        m_connected = true;
        return true;
    }

    m_connected = true;
    QByteArray transcript = m_talk.Reply;
    bool result = SendEhlo();
    transcript += m_talk.Reply;
    if (!result) {
        result = SendHelo();
        transcript += m_talk.Reply;
    }
    if (result && AuthLogin()) {
        transcript += m_talk.Reply;
        result = Login();
        transcript += m_talk.Reply;
    }
    m_talk.Reply = transcript;
    m_connected = result && SocketOpen();
    return m_connected;
}

bool TSmtpClient::SendHelo()
{
    return Ready() && Exchange("HELO " + localHostName() + "\r\n", ssHelo);
}

bool TSmtpClient::SendEhlo()
{
    return Ready() && Exchange("EHLO " + localHostName() + "\r\n", ssEhlo);
}

bool TSmtpClient::AuthLogin()
{
    if (!Ready())
        return false;
    m_authStarted = Exchange("AUTH LOGIN\r\n", ssAuthLogin);
    return m_authStarted;
}

bool TSmtpClient::Login()
{
    if (!Ready() || !m_authStarted)
        return false;
    if (!Exchange(EncodeBase64(UserName.toUtf8()) + "\r\n", ssAuthUser))
        return false;
    return Exchange(EncodeBase64(Password.toUtf8()) + "\r\n", ssAuthPassword);
}

bool TSmtpClient::Quit()
{
    if (!Ready() || !Exchange("QUIT\r\n", ssQuit))
        return false;
    // After "221" nothing is left to send or to read.
    m_talk.Socket().abort();
    m_connected = false;
    return true;
}

void TSmtpClient::AbortSession()
{
    m_talk.Abort();
    m_connected = false;
}

QString TSmtpClient::LastReply() const
{
    if (m_talk.Reply.isEmpty())
        return m_talk.ErrorText;
    return QString::fromUtf8(m_talk.Reply);
}

QStringList TSmtpClient::LastReplyLines() const
{
    QStringList lines;
    if (m_talk.Reply.isEmpty()) {
        lines << m_talk.ErrorText;
    } else {
        QByteArray reply = m_talk.Reply;
        while (reply.endsWith('\n') || reply.endsWith('\r'))
            reply.chop(1);
        for (QByteArray line : reply.split('\n')) {
            if (line.endsWith('\r'))
                line.chop(1);
            lines << readableLine(line);
        }
    }
    if (lines.join(QString()).trimmed().isEmpty())
        return {QStringLiteral("The server gave no reason")};
    return lines;
}

bool TSmtpClient::SendMailMessage()
{
    if (!MailMessage)
        return false;
    QStringList recipients = MailMessage->To.Addresses();
    recipients += MailMessage->Cc.Addresses();
    recipients += MailMessage->Bcc.Addresses();
    return SendSequence(MailMessage->GetFromAddress(), recipients);
}

bool TSmtpClient::SendSequence(const QString &sender, QStringList recipients)
{
    // A session that has just ended keeps the reason it ended with.
    if (!Ready())
        return m_connected || m_talk.ErrorText.isEmpty() ? Refuse(QStringLiteral("Not connected to the server"))
                                                         : false;
    if (!MailMessage || MailMessage->NeedRebuild())
        return Refuse(QStringLiteral("No message is ready to send"));
    // Sorted without regard to case; of addresses equal but for case the first stays.
    std::stable_sort(recipients.begin(), recipients.end(),
                     [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    recipients.erase(
        std::unique(recipients.begin(), recipients.end(),
                    [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }),
        recipients.end());
    recipients.removeAll(QString());
    if (recipients.isEmpty())
        return Refuse(QStringLiteral("The mail has no recipient"));
    if (!IsSafeAddress(sender)
        || std::any_of(recipients.cbegin(), recipients.cend(), [](const QString &a) { return !IsSafeAddress(a); }))
        return Refuse(QStringLiteral("An address holds a line break"));

    if (!Exchange("MAIL FROM: <" + sender.toUtf8() + ">\r\n", ssMailFrom))
        return false;
    for (const QString &recipient : std::as_const(recipients))
        if (!Exchange("RCPT TO: <" + recipient.toUtf8() + ">\r\n", ssRcptTo))
            return false;

    const QDateTime now = platform::now();
    MailMessage->SetMessageId(m_talk.Socket().localAddress().toString(), now);
    MailMessage->SetDate(now);
    const QStringList savedHeader = MailMessage->HeaderLines;
    MailMessage->SetHeaderField(QStringLiteral("Bcc"), QString());
    bool sent = false;
    if (Exchange("DATA\r\n", ssData)) {
        m_talk.SendPacketSize = PacketSize;
        sent = Exchange(dataText(MailMessage->GetPartText()), ssMessageEnd, DataEndTimeOut);
    }
    MailMessage->HeaderLines = savedHeader;
    return sent;
}

} // namespace smtpmail
