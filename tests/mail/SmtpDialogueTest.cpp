#include "SmtpTestServers.h"
#include "mail/MailMessage.h"
#include "mail/SmtpClient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace smtpmail;

namespace {

class SmtpDialogueTest : public ::testing::Test {
protected:
    void use(ScriptedServer &server, int timeOut = 10)
    {
        client.Host = QStringLiteral("127.0.0.1");
        client.Port = server.Port();
        client.SetTimeOut(timeOut);
        client.Handshaking = hsManual;
    }

    TSmtpClient client;
};

TEST_F(SmtpDialogueTest, RepliesSplitOverPacketsCountFromTheirFinalLine)
{
    ScriptedServer server({{"220-mail.test wel", "come\r\n220-second line\r\n", "220 ready\r\n"},
                           {"250-mail.test\r\n250-SIZE 1000", "\r\n", "250 AUTH LOGIN\r\n"},
                           {"250-first\r\n", "550 refused\r\n"},
                           {"221 bye\r\n"}});
    use(server);

    ASSERT_TRUE(client.Connect());
    EXPECT_EQ(client.LastReply(), QStringLiteral("220-mail.test welcome\r\n220-second line\r\n220 ready\r\n"));
    ASSERT_TRUE(client.SendEhlo());
    EXPECT_EQ(client.LastReply(), QStringLiteral("250-mail.test\r\n250-SIZE 1000\r\n250 AUTH LOGIN\r\n"));
    EXPECT_FALSE(client.SendHelo());
    EXPECT_TRUE(client.LastReply().endsWith(QStringLiteral("550 refused\r\n")));
    EXPECT_TRUE(client.Quit());
    ASSERT_GE(server.received.size(), 2);
    EXPECT_TRUE(server.received[0].startsWith("EHLO "));
    EXPECT_TRUE(server.received[1].startsWith("HELO "));
}

TEST_F(SmtpDialogueTest, GreetingOtherThan220Fails)
{
    ScriptedServer server({{"554 go away\r\n"}});
    use(server);
    EXPECT_FALSE(client.Connect());
    EXPECT_EQ(client.LastReply(), QStringLiteral("554 go away\r\n"));
    client.AbortSession();
}

TEST_F(SmtpDialogueTest, AutomaticHandshakeFallsBackToHeloAndGoesOnWithoutAuth)
{
    ScriptedServer server({{"220 hi\r\n"}, {"502 no EHLO\r\n"}, {"250 hello\r\n"}, {"504 no AUTH\r\n"}});
    use(server);
    client.Handshaking = hsAuto;
    ASSERT_TRUE(client.Connect());
    EXPECT_TRUE(client.Connected());
    EXPECT_FALSE(client.AuthStarted());
    EXPECT_EQ(client.LastReply(), QStringLiteral("220 hi\r\n502 no EHLO\r\n250 hello\r\n"));
    EXPECT_EQ(server.received.size(), 3);
}

TEST_F(SmtpDialogueTest, SilentServerTimesOutWhileTheThreadKeepsRunning)
{
    ScriptedServer server({{"220 hi\r\n"}});
    use(server, 1);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(50);

    ASSERT_TRUE(client.Connect());
    EXPECT_FALSE(client.SendEhlo());
    EXPECT_GT(ticks, 5);
    EXPECT_TRUE(client.LastReply().contains(QStringLiteral("No reply"))) << qPrintable(client.LastReply());
    // A time-out leaves the connection as it is.
    EXPECT_TRUE(client.Connected());
    client.AbortSession();
    EXPECT_FALSE(client.Connected());
}

TEST_F(SmtpDialogueTest, AbortEndsAWaitAtOnce)
{
    ScriptedServer server({{"220 hi\r\n"}});
    use(server, 60);
    ASSERT_TRUE(client.Connect());
    QTimer::singleShot(100, &client, [this] { client.AbortSession(); });
    EXPECT_FALSE(client.SendEhlo());
    EXPECT_EQ(client.LastReply(), QStringLiteral("Session aborted"));
    EXPECT_FALSE(client.Connected());
    EXPECT_FALSE(client.Quit());
}

TEST_F(SmtpDialogueTest, ServerClosingTheConnectionFailsTheStep)
{
    ScriptedServer server({{"220 hi\r\n"}, {"<close>"}});
    use(server);
    ASSERT_TRUE(client.Connect());
    EXPECT_FALSE(client.SendEhlo());
    EXPECT_FALSE(client.Connected());
    EXPECT_FALSE(client.LastReply().isEmpty());
}

TEST_F(SmtpDialogueTest, ClosedPortFailsConnectWithAReason)
{
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    client.Host = QStringLiteral("127.0.0.1");
    client.Port = port;
    client.SetTimeOut(10);
    EXPECT_FALSE(client.Connect());
    EXPECT_FALSE(client.Connected());
    EXPECT_FALSE(client.LastReply().isEmpty());
    client.AbortSession();
}

TEST_F(SmtpDialogueTest, RecipientsAreSortedWithoutDuplicatesAndDataIsDotStuffed)
{
    ScriptedServer server({{"220 hi\r\n"}, {"250 sender\r\n"}, {"250 one\r\n"}, {"250 two\r\n"}, {"354 go\r\n"}});
    use(server);
    TMailMessage message;
    message.To.AddRecipient(QString(), QStringLiteral("b@x.org, A@x.org, a@x.org"));
    message.SetFrom(QString(), QStringLiteral("s@x.org"));
    message.TextEncoding = etNoEncoding;
    message.SetTextPlain(QStringLiteral(".\n.\n.x\nlast\n"));
    message.RebuildBody();
    client.MailMessage = &message;

    ASSERT_TRUE(client.Connect());
    client.SetTimeOut(1);
    client.DataEndTimeOut = 1;
    EXPECT_FALSE(client.SendMailMessage()); // the script never confirms the data
    ASSERT_GE(server.received.size(), 4);
    EXPECT_EQ(server.received[0], "MAIL FROM: <s@x.org>");
    EXPECT_EQ(server.received[1], "RCPT TO: <A@x.org>");
    EXPECT_EQ(server.received[2], "RCPT TO: <b@x.org>");
    EXPECT_EQ(server.received[3], "DATA");
    const QByteArray data = server.received.mid(4).join("\r\n") + "\r\n";
    EXPECT_TRUE(data.endsWith("\r\n\r\n..\r\n..\r\n..x\r\nlast\r\n.\r\n")) << data.constData();
    client.AbortSession();
}

} // namespace

namespace {

TEST_F(SmtpDialogueTest, RepliesAreShownTrimmedWithControlBytesEscaped)
{
    struct Case {
        QList<QByteArray> greeting;
        QStringList shown;
    };
    const QList<Case> cases{
        {{QByteArray("554 go\0away\x07\r\n", 14)}, {QStringLiteral("554 go\\x00away\\x07")}},
        {{"554-first\r\n", "554 second\r\n"}, {QStringLiteral("554-first"), QStringLiteral("554 second")}},
        {{"<close>"}, {QStringLiteral("Connection closed by the server")}},
    };
    for (const Case &c : cases) {
        ScriptedServer server({c.greeting});
        use(server);
        EXPECT_FALSE(client.Connect());
        EXPECT_EQ(client.LastReplyLines(), c.shown);
        client.AbortSession();
    }
    client.Host.clear();
    EXPECT_FALSE(client.Connect());
    EXPECT_EQ(client.LastReplyLines(), QStringList{QStringLiteral("No SMTP server is given")});
}

TEST_F(SmtpDialogueTest, AWaitEndsWhenTheApplicationQuits)
{
    ScriptedServer server({{"220 hi\r\n"}});
    use(server, 30);
    ASSERT_TRUE(client.Connect());
    bool greeted = true;
    bool quit = true;
    QString reason;
    QElapsedTimer clock;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(100, qApp, &QCoreApplication::quit);
        clock.start();
        greeted = client.SendEhlo();
        reason = client.LastReply();
        // Every later wait of the quitting program ends at once too.
        quit = client.Quit();
    });
    QCoreApplication::exec();
    EXPECT_FALSE(greeted);
    EXPECT_FALSE(quit);
    EXPECT_EQ(reason, QStringLiteral("The program is closing"));
    EXPECT_LT(clock.elapsed(), 5000);
    client.AbortSession();
}

} // namespace

namespace {

TEST_F(SmtpDialogueTest, AServerThatNeverAcceptsIsNoConnectionRatherThanAClosedOne)
{
    // A listener with a full queue lets further connects hang, as an
    // unroutable address does.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length), 0);
    const quint16 port = ntohs(address.sin_port);
    QTcpSocket filler;
    filler.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(filler.waitForConnected(5000));

    client.Host = QStringLiteral("127.0.0.1");
    client.Port = port;
    client.SetTimeOut(1);
    EXPECT_FALSE(client.Connect());
    EXPECT_EQ(client.LastReplyLines(),
              QStringList{QStringLiteral("No connection to 127.0.0.1 port %1 within 1 s").arg(port)});
    client.AbortSession();
    ::close(listener);
}

} // namespace
