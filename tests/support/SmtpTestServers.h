#pragma once

#include "PythonTool.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

// A real SMTP server (Python's aiosmtpd) on 127.0.0.1 that writes what it
// receives to a temporary folder (see smtp_server.py).
class TestSmtpServer {
public:
    TestSmtpServer()
    {
        m_process.start(debianPython, {supportScript("smtp_server.py"), m_folder.path()});
        while (m_port == 0 && m_process.waitForReadyRead(15000)) {
            const QByteArray line = m_process.readLine().trimmed();
            if (line.startsWith("PORT "))
                m_port = line.mid(5).toInt();
        }
        if (m_port == 0)
            qWarning("SMTP test server did not start: %s", m_process.readAllStandardError().constData());
    }

    ~TestSmtpServer()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    int Port() const { return m_port; }

    QList<QJsonObject> Messages() const
    {
        QList<QJsonObject> messages;
        for (int n = 1;; ++n) {
            QFile file(m_folder.filePath(QStringLiteral("%1.json").arg(n)));
            if (!file.open(QIODevice::ReadOnly))
                return messages;
            messages << QJsonDocument::fromJson(file.readAll()).object();
        }
    }

private:
    QTemporaryDir m_folder;
    QProcess m_process;
    int m_port = 0;
};

// A server that plays a script: the packets of step 0 answer the connection,
// those of step n the n-th command line received, each packet sent a little
// after the one before so that it arrives on its own. A packet "<close>"
// closes the connection; after the last step the server stays silent.
class ScriptedServer : public QObject {
public:
    explicit ScriptedServer(QList<QList<QByteArray>> script) : m_script(std::move(script))
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            m_socket.reset(m_server.nextPendingConnection());
            connect(m_socket.get(), &QTcpSocket::readyRead, this, [this] { Read(); });
            Answer();
        });
    }

    quint16 Port() const { return m_server.serverPort(); }
    QList<QByteArray> received;

private:
    void Read()
    {
        m_buffer += m_socket->readAll();
        for (qsizetype end = m_buffer.indexOf("\r\n"); end >= 0; end = m_buffer.indexOf("\r\n")) {
            received << m_buffer.left(end);
            m_buffer.remove(0, end + 2);
            Answer();
        }
    }

    void Answer()
    {
        if (m_step >= m_script.size())
            return;
        int delay = 0;
        for (const QByteArray &packet : m_script[m_step++]) {
            delay += 30;
            QTimer::singleShot(delay, this, [this, packet] {
                if (!m_socket)
                    return;
                if (packet == "<close>")
                    m_socket->close();
                else
                    m_socket->write(packet);
            });
        }
    }

    QTcpServer m_server;
    std::unique_ptr<QTcpSocket> m_socket;
    QList<QList<QByteArray>> m_script;
    qsizetype m_step = 0;
    QByteArray m_buffer;
};
