#include "SocketTalk.h"

#include "mail/MailNames.h"

#include <QEventLoop>
#include <QHostAddress>

namespace smtpmail {

namespace {

quint8 errorKindOf(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
    case QAbstractSocket::HostNotFoundError:
    case QAbstractSocket::NetworkError:
    case QAbstractSocket::SocketAccessError:
    case QAbstractSocket::UnsupportedSocketOperationError: return teConnect;
    case QAbstractSocket::RemoteHostClosedError: return teDisconnect;
    default: return teGeneral;
    }
}

// The last complete line of a reply, without its line break; empty when
// no line is complete yet.
QByteArray lastCompleteLine(const QByteArray &reply)
{
    const qsizetype end = reply.lastIndexOf('\n');
    if (end <= 0)
        return {};
    const qsizetype start = reply.lastIndexOf('\n', end - 1) + 1;
    return reply.mid(start, end - start);
}

} // namespace

TSocketTalk::TSocketTalk(QObject *owner) : QObject(owner), m_owner(owner)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &TSocketTalk::TimerExpired);
    connect(&m_socket, &QTcpSocket::readyRead, this, &TSocketTalk::SocketRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &TSocketTalk::SocketError);
    connect(&m_socket, &QTcpSocket::disconnected, this, &TSocketTalk::SocketDisconnect);
    connect(&m_socket, &QTcpSocket::bytesWritten, this, &TSocketTalk::DataWritten);
    connect(&m_socket, &QTcpSocket::connected, this, &TSocketTalk::SocketConnected);
}

TSocketTalk::~TSocketTalk()
{
    // Tearing the socket down must not call back into a half-destroyed owner.
    m_socket.disconnect(this);
    m_socket.abort();
}

bool TSocketTalk::IsReplyComplete(const QByteArray &reply)
{
    const QByteArray line = lastCompleteLine(reply).trimmed();
    if (line.size() < 3)
        return false;
    for (int i = 0; i < 3; ++i)
        if (line[i] < '0' || line[i] > '9')
            return false;
    return line.size() == 3 || line[3] == ' ';
}

QByteArray TSocketTalk::ReplyCode(const QByteArray &reply)
{
    return lastCompleteLine(reply).left(3);
}

void TSocketTalk::Arm(quint8 state, int waitSeconds)
{
    TalkState = state;
    Reply.clear();
    ErrorText.clear();
    ErrorKind = teNone;
    Waiting = true;
    Succeeded = false;
    m_waitSeconds = waitSeconds > 0 ? waitSeconds : TimeOut;
    RestartTimer();
}

void TSocketTalk::RestartTimer()
{
    m_timer.start(m_waitSeconds * 1000);
}

void TSocketTalk::ExpectReply(quint8 state)
{
    m_reachedServer = false;
    Arm(state, 0);
}

void TSocketTalk::Open(const QString &host, quint16 port)
{
    m_peer = QStringLiteral("%1 port %2").arg(host).arg(port);
    const QHostAddress address(host);
    if (IsIPAddress(host) && !address.isNull())
        m_socket.connectToHost(address, port);
    else
        m_socket.connectToHost(host, port);
}

void TSocketTalk::Talk(const QByteArray &command, quint8 state, int waitSeconds)
{
    // A late reply to an earlier command must not pass for this one's.
    if (m_socket.isOpen())
        m_socket.readAll();
    Arm(state, waitSeconds);
    if (SendPacketSize > 0 && SendPacketSize < command.size())
        SendChunked(command);
    else
        m_socket.write(command);
    SendPacketSize = 0;
}

void TSocketTalk::SendChunked(const QByteArray &command)
{
    const qint64 total = command.size();
    if (OnProgress)
        OnProgress(m_owner, total, 0);
    for (qint64 sent = 0; sent < total && Waiting;) {
        const qint64 chunk = std::min(SendPacketSize, total - sent);
        m_socket.write(command.constData() + sent, chunk);
        RunEventsUntil([this] { return !Waiting || m_socket.bytesToWrite() == 0; });
        if (!Waiting)
            return;
        sent += chunk;
        if (OnProgress)
            OnProgress(m_owner, total, sent);
    }
    if (OnProgress)
        OnProgress(m_owner, total, total);
}

bool TSocketTalk::WaitReply()
{
    RunEventsUntil([this] { return !Waiting; });
    m_timer.stop();
    return Succeeded;
}

void TSocketTalk::RunEventsUntil(const std::function<bool()> &done)
{
    while (!done()) {
        QEventLoop loop;
        m_loop = &loop;
        m_woken = false;
        loop.exec();
        m_loop = nullptr;
        // A loop that ended without this talk waking it was ended by the
        // application quitting, which ends every later loop at once too.
        if (!m_woken && !done()) {
            EndWait(teGeneral, QStringLiteral("The program is closing"));
            return;
        }
    }
}

void TSocketTalk::Wake()
{
    if (m_loop) {
        m_woken = true;
        m_loop->quit();
    }
}

void TSocketTalk::Cancel()
{
    m_timer.stop();
    ErrorKind = teNone;
    TalkState = 0;
    Waiting = false;
    Succeeded = false;
    Wake();
}

void TSocketTalk::EndWait(quint8 kind, const QString &text)
{
    m_timer.stop();
    const quint8 state = TalkState;
    ErrorKind = kind;
    ErrorText = text;
    Waiting = false;
    Succeeded = false;
    TalkState = 0;
    if (OnTalkError)
        OnTalkError(state, kind);
    Wake();
}

void TSocketTalk::Abort()
{
    if (Waiting)
        EndWait(teGeneral, QStringLiteral("Session aborted"));
    m_socket.abort();
}

void TSocketTalk::SocketRead()
{
    if (!m_socket.isOpen())
        return;
    const QByteArray packet = m_socket.readAll();
    if (packet.isEmpty())
        return;
    Reply += packet;
    if (!Waiting)
        return;
    ErrorKind = teNone;
    if (!IsReplyComplete(Reply)) {
        RestartTimer();
        return;
    }
    m_timer.stop();
    Waiting = false;
    Succeeded = false;
    if (OnReplyComplete)
        OnReplyComplete(TalkState, Succeeded, Reply);
    TalkState = 0;
    Wake();
}

QString TSocketTalk::NoConnectionText() const
{
    return QStringLiteral("No connection to ") + m_peer;
}

void TSocketTalk::SocketError(QAbstractSocket::SocketError error)
{
    // Once connected, the disconnect that follows tells the rest.
    if (error == QAbstractSocket::RemoteHostClosedError && m_reachedServer)
        return;
    const QString text
        = m_reachedServer ? m_socket.errorString() : NoConnectionText() + QStringLiteral(": ") + m_socket.errorString();
    if (Waiting)
        EndWait(m_reachedServer ? errorKindOf(error) : quint8(teConnect), text);
    else
        ErrorKind = errorKindOf(error);
}

void TSocketTalk::SocketDisconnect()
{
    SocketRead();
    if (OnTalkDisconnect)
        OnTalkDisconnect();
    SendPacketSize = 0;
    if (Waiting)
        EndWait(teDisconnect, m_reachedServer ? QStringLiteral("Connection closed by the server") : NoConnectionText());
}

void TSocketTalk::TimerExpired()
{
    if (!Waiting)
        return;
    if (m_reachedServer)
        EndWait(teTimeOut, QStringLiteral("No reply within %1 s").arg(m_waitSeconds));
    else
        EndWait(teTimeOut, NoConnectionText() + QStringLiteral(" within %1 s").arg(m_waitSeconds));
}

void TSocketTalk::DataWritten()
{
    if (Waiting)
        RestartTimer();
    Wake();
}

void TSocketTalk::SocketConnected()
{
    m_reachedServer = true;
}

} // namespace smtpmail
