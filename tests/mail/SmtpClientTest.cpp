#include "mail/SmtpClient.h"
#include "FakeClock.h"
#include "SmtpTestServers.h"
#include "mail/MailMessage.h"

#include <QJsonArray>

#include <gtest/gtest.h>

using namespace smtpmail;

namespace {

const QString subject = QStringLiteral(u"[Ok!] Отчёт о копировании");
const QString reportText = QStringLiteral(u"Начало: 09.12.2026\n.\n..\n.hidden line\nИтог: всё хорошо.\nend");

QJsonArray pair(const QString &name, const QString &address)
{
    return QJsonArray{name, address};
}

class SmtpClientTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(server.Port(), 0);
        message.Charset = QStringLiteral("windows-1251");
        client.Host = QStringLiteral("127.0.0.1");
        client.Port = server.Port();
        client.SetTimeOut(20);
        client.MailMessage = &message;
    }

    void fill(const QString &to, const QString &text = reportText)
    {
        message.To.ClearRecipients();
        message.To.AddRecipient(QString(), to);
        message.SetSubject(subject);
        message.SetFrom(QStringLiteral("Zentavo"), QStringLiteral("backup@example.org"));
        message.SetTextPlain(text);
        message.RebuildBody();
    }

    TestSmtpServer server;
    TMailMessage message;
    TSmtpClient client;
};

TEST_F(SmtpClientTest, DeliversOneMessageToEveryRecipient)
{
    fill(QStringLiteral("b@example.org, A@example.org; a@example.org"));
    message.Cc.AddRecipient(QStringLiteral(u"Копия"), QStringLiteral("c@example.org"));
    message.Bcc.AddRecipient(QString(), QStringLiteral("hidden@example.org"));
    client.Handshaking = hsManual;
    FakeClockScope sentAt(QDateTime(QDate(2026, 12, 9), QTime(15, 33, 50), Qt::OffsetFromUTC, 3600));

    ASSERT_TRUE(client.Connect()) << qPrintable(client.LastReply());
    EXPECT_TRUE(client.LastReply().startsWith(QStringLiteral("220")));
    ASSERT_TRUE(client.SendEhlo());
    ASSERT_TRUE(client.SendMailMessage()) << qPrintable(client.LastReply());
    ASSERT_TRUE(client.Quit());
    EXPECT_FALSE(client.Connected());

    const QList<QJsonObject> received = server.Messages();
    ASSERT_EQ(received.size(), 1);
    const QJsonObject &mail = received[0];
    EXPECT_EQ(mail[u"mail_from"].toString(), QStringLiteral("backup@example.org"));
    EXPECT_EQ(mail[u"rcpt_tos"].toArray(),
              QJsonArray({QStringLiteral("A@example.org"), QStringLiteral("b@example.org"),
                          QStringLiteral("c@example.org"), QStringLiteral("hidden@example.org")}));
    EXPECT_EQ(mail[u"subject"].toString(), subject);
    // One element that is itself an array: braces around a lone array would copy it instead (clang).
    EXPECT_EQ(mail[u"from"].toArray(),
              QJsonArray({QJsonValue(pair(QStringLiteral("Zentavo"), QStringLiteral("backup@example.org")))}));
    EXPECT_EQ(
        mail[u"to"].toArray(),
        QJsonArray({pair(QString(), QStringLiteral("b@example.org")), pair(QString(), QStringLiteral("A@example.org")),
                    pair(QString(), QStringLiteral("a@example.org"))}));
    EXPECT_FALSE(mail[u"has_bcc"].toBool());
    EXPECT_EQ(mail[u"date"].toString(), QStringLiteral("2026-12-09T15:33:50+01:00"));
    EXPECT_EQ(mail[u"defects"].toArray(), QJsonArray());
    const QJsonArray texts = mail[u"texts"].toArray();
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts[0][u"charset"].toString(), QStringLiteral("windows-1251"));
    EXPECT_EQ(texts[0][u"text"].toString(), reportText + u'\n');
    // The data ends right after the text's own last line break.
    EXPECT_TRUE(mail[u"raw"].toString().endsWith(QStringLiteral("end\r\n")));

    // The message keeps its Bcc field and carries the Message-ID it was sent with.
    EXPECT_EQ(message.Bcc.Addresses(), QStringList({QStringLiteral("hidden@example.org")}));
    EXPECT_EQ(message.GetHeaderField(QStringLiteral("Message-ID")), mail[u"message_id"].toString());
}

TEST_F(SmtpClientTest, LongTextGoesInPacketsWithProgress)
{
    QString text;
    for (int i = 0; i < 400; ++i)
        text += QStringLiteral(u"Строка %1: файл скопирован ✓\n").arg(i);
    fill(QStringLiteral("b@example.org"), text);
    QList<qint64> progress;
    qint64 total = 0;
    client.SetOnProgress([&](QObject *sender, qint64 all, qint64 current) {
        EXPECT_EQ(sender, &client);
        total = all;
        progress << current;
    });
    client.PacketSize = 4000;
    client.Handshaking = hsManual;

    ASSERT_TRUE(client.Connect());
    ASSERT_TRUE(client.SendHelo());
    ASSERT_TRUE(client.SendMailMessage()) << qPrintable(client.LastReply());
    EXPECT_GT(total, 4000 * 3);
    ASSERT_GE(progress.size(), 4);
    EXPECT_EQ(progress.first(), 0);
    EXPECT_EQ(progress.last(), total);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));

    const QList<QJsonObject> received = server.Messages();
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0][u"texts"][0][u"charset"].toString(), QStringLiteral("utf-8"));
    EXPECT_EQ(received[0][u"texts"][0][u"text"].toString(), text);
    EXPECT_EQ(received[0][u"defects"].toArray(), QJsonArray());
}

TEST_F(SmtpClientTest, AuthLoginAcceptsTheRightPasswordOnly)
{
    fill(QStringLiteral("b@example.org"));
    client.UserName = QStringLiteral("user");
    client.Password = QStringLiteral("secret");
    ASSERT_TRUE(client.Connect()) << qPrintable(client.LastReply());
    EXPECT_TRUE(client.AuthStarted());
    EXPECT_TRUE(client.LastReply().contains(QStringLiteral("235"))) << qPrintable(client.LastReply());
    EXPECT_TRUE(client.SendMailMessage());
    EXPECT_TRUE(client.Quit());

    TSmtpClient wrong;
    wrong.Host = client.Host;
    wrong.Port = client.Port;
    wrong.UserName = QStringLiteral("user");
    wrong.Password = QStringLiteral("guess");
    EXPECT_FALSE(wrong.Connect());
    EXPECT_FALSE(wrong.Connected());
    EXPECT_TRUE(wrong.LastReply().contains(QStringLiteral("535"))) << qPrintable(wrong.LastReply());
    wrong.AbortSession();
    EXPECT_EQ(server.Messages().size(), 1);
}

TEST_F(SmtpClientTest, RefusalsFailTheStepAndSendNothing)
{
    client.Handshaking = hsManual;
    ASSERT_TRUE(client.Connect());
    ASSERT_TRUE(client.SendEhlo());

    fill(QStringLiteral("b@example.org, refuse@example.org"));
    EXPECT_FALSE(client.SendMailMessage());
    EXPECT_TRUE(client.LastReply().startsWith(QStringLiteral("550"))) << qPrintable(client.LastReply());
    client.AbortSession();
    EXPECT_FALSE(client.Connected());

    ASSERT_TRUE(client.Connect());
    ASSERT_TRUE(client.SendHelo());
    fill(QStringLiteral("reject@example.org"));
    EXPECT_FALSE(client.SendMailMessage());
    EXPECT_TRUE(client.LastReply().startsWith(QStringLiteral("554"))) << qPrintable(client.LastReply());
    EXPECT_TRUE(client.Quit());
    EXPECT_TRUE(server.Messages().isEmpty());
}

TEST_F(SmtpClientTest, RefusesToSendWithoutWhatItNeeds)
{
    EXPECT_FALSE(client.SendMailMessage()); // not connected
    client.Handshaking = hsManual;
    ASSERT_TRUE(client.Connect());
    EXPECT_FALSE(client.Connect());

    fill(QStringLiteral("b@example.org"));
    message.SetTextPlain(QStringLiteral("changed, not rebuilt"));
    EXPECT_FALSE(client.SendMailMessage());

    message.RebuildBody();
    message.To.ClearRecipients();
    EXPECT_FALSE(client.SendMailMessage());

    client.MailMessage = nullptr;
    EXPECT_FALSE(client.SendMailMessage());
    EXPECT_TRUE(client.Quit());
    EXPECT_TRUE(server.Messages().isEmpty());

    TSmtpClient noHost;
    EXPECT_FALSE(noHost.Connect());
}

} // namespace

namespace {

TEST_F(SmtpClientTest, RecipientsSeparatedByBlanksEachGetTheirOwnRcpt)
{
    fill(QStringLiteral("a@example.org  b@example.org\tc@example.org, d@example.org"));
    client.Handshaking = hsManual;
    ASSERT_TRUE(client.Connect()) << qPrintable(client.LastReply());
    ASSERT_TRUE(client.SendEhlo());
    ASSERT_TRUE(client.SendMailMessage()) << qPrintable(client.LastReply());
    EXPECT_TRUE(client.Quit());
    const QList<QJsonObject> received = server.Messages();
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0][u"rcpt_tos"].toArray(),
              QJsonArray({QStringLiteral("a@example.org"), QStringLiteral("b@example.org"),
                          QStringLiteral("c@example.org"), QStringLiteral("d@example.org")}));
}

TEST_F(SmtpClientTest, HeaderLinesWithEncodedWordsStayWithin76Characters)
{
    const QString longText
        = QStringLiteral(u"Отчёт о резервном копировании: все задания выполнены без ошибок, проверено");
    struct Case {
        QString subject;
        QString senderName;
    };
    for (const Case &c :
         {Case{longText, QStringLiteral("Zentavo")}, Case{QStringLiteral("[Ok!] Nightly"), longText},
          Case{QStringLiteral(u"[Ok!] ") + longText + longText, QStringLiteral(u"Резервное копирование Зентаво")}}) {
        client.Handshaking = hsManual;
        message.To.ClearRecipients();
        message.To.AddRecipient(longText, QStringLiteral("b@example.org"));
        message.SetSubject(c.subject);
        message.SetFrom(c.senderName, QStringLiteral("backup@example.org"));
        message.SetTextPlain(reportText);
        message.RebuildBody();
        const QByteArray text = message.GetPartText();
        const QByteArray header = text.left(text.indexOf("\r\n\r\n"));
        for (const QByteArray &line : header.split('\n'))
            EXPECT_LE(line.trimmed().size() + (line.startsWith('\t') ? 1 : 0), 76) << line.constData();

        ASSERT_TRUE(client.Connect()) << qPrintable(client.LastReply());
        ASSERT_TRUE(client.SendEhlo());
        ASSERT_TRUE(client.SendMailMessage()) << qPrintable(client.LastReply());
        EXPECT_TRUE(client.Quit());
        const QJsonObject mail = server.Messages().last();
        EXPECT_EQ(mail[u"subject"].toString(), c.subject);
        // Python's reader keeps the blanks between encoded words of a display
        // name, which RFC 2047 says to drop; the letters must all be there.
        const auto letters = [](const QJsonValue &address) {
            return address[0].toString().remove(u' ') + u'|' + address[1].toString();
        };
        EXPECT_EQ(letters(mail[u"from"][0]),
                  QString(c.senderName).remove(u' ') + QStringLiteral("|backup@example.org"));
        EXPECT_EQ(letters(mail[u"to"][0]), QString(longText).remove(u' ') + QStringLiteral("|b@example.org"));
        EXPECT_EQ(mail[u"defects"].toArray(), QJsonArray());
    }
}

TEST_F(SmtpClientTest, ASlowServerHasLongerThanTheCommandWaitToAcceptTheData)
{
    fill(QStringLiteral("slow@example.org"));
    client.Handshaking = hsManual;
    client.SetTimeOut(1); // the server takes 2 s after the final dot
    client.DataEndTimeOut = 10;
    ASSERT_TRUE(client.Connect());
    ASSERT_TRUE(client.SendEhlo());
    EXPECT_TRUE(client.SendMailMessage()) << qPrintable(client.LastReply());
    EXPECT_TRUE(client.LastReply().startsWith(QStringLiteral("250"))) << qPrintable(client.LastReply());
    EXPECT_TRUE(client.Quit());
    EXPECT_TRUE(client.LastReply().startsWith(QStringLiteral("221"))) << qPrintable(client.LastReply());
    EXPECT_EQ(server.Messages().size(), 1);
}

} // namespace
