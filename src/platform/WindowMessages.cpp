#include "WindowMessages.h"

#include "platform/FileLock.h"
#include "platform/RuntimeFolder.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <optional>

namespace platform {

namespace {

// The sender may block for this long at most.
constexpr int PostTimeoutMs = 1000;
// A connection that sends no complete line in this time is dropped.
constexpr int ReceiveTimeoutMs = 5000;
constexpr qint64 MaxLineLength = 256;
// How often a window whose caption is shown by another one tries again.
constexpr int CaptionRetryMs = 1000;
// A socket path must fit in sockaddr_un.
constexpr qsizetype MaxSocketPath = 100;

std::optional<QString> socketPath(const QString &caption)
{
    const std::optional<QString> folder = runtimeFolder();
    if (!folder || caption.isEmpty())
        return std::nullopt;
#ifdef Q_OS_WIN
    // Local servers are named pipes here; the folder only holds the locks.
    const QString prefix = QStringLiteral("zentavo-") + qEnvironmentVariable("USERNAME") + u'-';
#else
    const QString prefix = *folder + u'/';
#endif
    // Percent-encoding keeps the name readable and free of "/"; a long
    // (say, translated) caption becomes its hash, which "%23" cannot be.
    const QString encoded = QString::fromLatin1(caption.toUtf8().toPercentEncoding());
    if (QFile::encodeName(prefix + encoded).size() <= MaxSocketPath)
        return prefix + encoded;
    return prefix + u'#'
        + QString::fromLatin1(QCryptographicHash::hash(caption.toUtf8(), QCryptographicHash::Sha1).toHex());
}

std::optional<QString> captionsLockFile()
{
    const std::optional<QString> folder = runtimeFolder();
    return folder ? std::optional<QString>(*folder + QStringLiteral("/captions.lock")) : std::nullopt;
}

bool connectWithin(QLocalSocket &socket, const QString &path, const QDeadlineTimer &deadline)
{
    socket.connectToServer(path);
    return socket.waitForConnected(int(deadline.remainingTime()));
}

} // namespace

MessageWindow::MessageWindow(QObject *parent) : QObject(parent), m_retry(new QTimer(this))
{
    m_retry->setInterval(CaptionRetryMs);
    connect(m_retry, &QTimer::timeout, this, [this] {
        if (takeCaption(m_wanted) != Taken::Busy)
            m_retry->stop();
    });
}

MessageWindow::~MessageWindow() = default;

bool MessageWindow::setCaption(const QString &caption)
{
    m_retry->stop();
    if (m_server) {
        m_server->close();
        m_server.reset();
    }
    m_caption.clear();
    m_wanted = caption;
    if (caption.isEmpty())
        return true;
    const Taken taken = takeCaption(caption);
    if (taken == Taken::Busy)
        m_retry->start();
    return taken == Taken::Yes;
}

MessageWindow::Taken MessageWindow::takeCaption(const QString &caption)
{
    const std::optional<QString> path = socketPath(caption);
    const std::optional<QString> lockFile = captionsLockFile();
    if (!path || !lockFile)
        return Taken::Impossible;
    // Two programs that show the same caption at once must not remove each
    // other's fresh socket as stale.
    const FileLock lock(*lockFile, FileLock::Wait::Yes);
    if (lock.state() != FileLock::State::Held)
        return Taken::Impossible;
    {
        QLocalSocket probe;
        if (connectWithin(probe, *path, QDeadlineTimer(PostTimeoutMs)))
            return Taken::Busy;
    }
    QLocalServer::removeServer(*path);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(*path))
        return Taken::Impossible;
    connect(server.get(), &QLocalServer::newConnection, this, &MessageWindow::acceptConnections);
    m_server = std::move(server);
    m_caption = caption;
    return Taken::Yes;
}

void MessageWindow::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(ReceiveTimeoutMs, socket, &QLocalSocket::abort);
        readMessage(socket);
    }
}

void MessageWindow::readMessage(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > MaxLineLength)
            socket->abort();
        return;
    }
    const QByteArray bytes = socket->readLine();
    // One message per connection: whatever follows it is not read.
    socket->abort();
    socket->deleteLater();
    if (bytes.size() > MaxLineLength)
        return;
    const QString line = QString::fromUtf8(bytes).trimmed();
    const qsizetype blank = line.indexOf(u' ');
    if (blank <= 0)
        return;
    bool ok = false;
    const quint64 wParam = QStringView(line).mid(blank + 1).toULongLong(&ok);
    if (ok)
        emit messageReceived(line.left(blank), wParam);
}

bool findWindow(const QString &caption)
{
    const std::optional<QString> path = socketPath(caption);
    if (!path)
        return false;
    QLocalSocket socket;
    const bool found = connectWithin(socket, *path, QDeadlineTimer(PostTimeoutMs));
    socket.abort();
    return found;
}

bool postMessage(const QString &caption, const QString &name, quint64 wParam)
{
    const std::optional<QString> path = socketPath(caption);
    if (!path || name.isEmpty() || name.contains(u' ') || name.contains(u'\n'))
        return false;
    const QDeadlineTimer deadline(PostTimeoutMs);
    QLocalSocket socket;
    if (!connectWithin(socket, *path, deadline))
        return false;
    socket.write(name.toUtf8() + ' ' + QByteArray::number(wParam) + '\n');
    while (socket.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
            break;
    }
    const bool written = socket.bytesToWrite() == 0;
    socket.abort();
    return written;
}

} // namespace platform
