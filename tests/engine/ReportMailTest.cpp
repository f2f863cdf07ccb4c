#include "engine/ReportMail.h"

#include "RecordingRunView.h"
#include "SmtpTestServers.h"
#include "TestApplication.h"
#include "TestFiles.h"
#include "engine/RunReport.h"
#include "mail/MailMessage.h"
#include "mail/SmtpClient.h"
#include "shared/ConstStr.h"

#include <QJsonArray>
#include <QTcpServer>

#include <gtest/gtest.h>

using namespace smtpmail;

namespace {

class ReportMailTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testapp::application();
        smtp.SetTimeOut(10);
        settings.EditHost = QStringLiteral("127.0.0.1");
        settings.EditEMail = QStringLiteral("admin@example.org");
        settings.EditFrom = QStringLiteral("backup@example.org");
        settings.EditSubject = QStringLiteral("Nightly");
        settings.CheckBoxHelo = true;
    }

    const QStringList report{QStringLiteral("09.12.2026 22:00:00  Starting"),
                             QStringLiteral(u"\u0417\u0430\u0434\u0430\u043D\u0438\u0435 One"),
                             QStringLiteral(".hidden line"), QStringLiteral("One - Error!")};
    ReportMailSettings settings;
    TMailMessage message;
    TSmtpClient smtp;
    RecordingRunView view;
    RunReport runReport{view};
};

} // namespace

TEST_F(ReportMailTest, DeliversTheReportAndWritesTheTranscript)
{
    TestSmtpServer server;
    ASSERT_NE(server.Port(), 0);
    settings.EditPort = QString::number(server.Port());

    SendRep(report, 1, settings, QStringLiteral("The Zentavo"), message, smtp, runReport);
    ASSERT_EQ(view.untimedLines().value(1), QStringLiteral("Report sent: SMTP"))
        << view.lines.join(u'\n').toStdString();

    const QList<QJsonObject> received = server.Messages();
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0][u"subject"].toString(), u'[' + zentavo::sRes[1] + QStringLiteral("] Nightly"));
    EXPECT_EQ(received[0][u"rcpt_tos"].toArray(), QJsonArray({QStringLiteral("admin@example.org")}));
    EXPECT_EQ(received[0][u"texts"][0][u"text"].toString(), report.join(u'\n') + u'\n');

    EXPECT_EQ(received[0][u"defects"].toArray(), QJsonArray());

    const QStringList lines = view.untimedLines();
    EXPECT_EQ(lines,
              QStringList({QStringLiteral("Connected: SMTP"), QStringLiteral("Report sent: SMTP"),
                           QStringLiteral("Disconnected: SMTP"), QString(50, u'-')}));
}

TEST_F(ReportMailTest, ASenderWrittenWithANameGivesTheBareAddressToTheEnvelopeAndTheNameToTheHeader)
{
    TestSmtpServer server;
    ASSERT_NE(server.Port(), 0);
    settings.EditPort = QString::number(server.Port());
    const QString address = QStringLiteral("backup@example.org");
    struct Case {
        QString from;
        QString name; // as the mail reader shows it
    };
    const Case cases[] = {
        {QStringLiteral("Backup Robot <backup@example.org>"), QStringLiteral("Backup Robot")},
        {QStringLiteral(u"Резервный робот <backup@example.org>"), QStringLiteral(u"Резервный робот")},
        {QStringLiteral("\"Robot, Backup\" <backup@example.org>"), QStringLiteral("Robot, Backup")},
        {QStringLiteral("\"Robot \\\"Night\\\"\" <backup@example.org>"), QStringLiteral("Robot \"Night\"")},
        {QStringLiteral("backup@example.org (Backup Robot)"), QStringLiteral("Backup Robot")},
        {QStringLiteral("Robot\\1 <backup@example.org>"), QStringLiteral("Robot\\1")},
        {QStringLiteral(" <backup@example.org> "), QStringLiteral("The Zentavo")},
        {QStringLiteral("backup@example.org"), QStringLiteral("The Zentavo")},
    };
    for (const Case &c : cases) {
        view.lines.clear();
        settings.EditFrom = c.from;
        SendRep(report, 0, settings, QStringLiteral("The Zentavo"), message, smtp, runReport);
        EXPECT_EQ(view.untimedLines().value(1), QStringLiteral("Report sent: SMTP")) << c.from.toStdString();
        const QJsonObject mail = server.Messages().value(int(&c - cases));
        EXPECT_EQ(mail[u"mail_from"].toString(), address) << c.from.toStdString();
        ASSERT_EQ(mail[u"from"].toArray().size(), 1) << c.from.toStdString();
        // Python's reader keeps the blank between two encoded words of a
        // name, which RFC 2047 says to drop.
        EXPECT_EQ(mail[u"from"][0][0].toString().simplified(), c.name) << c.from.toStdString();
        EXPECT_EQ(mail[u"from"][0][1].toString(), address) << c.from.toStdString();
        EXPECT_EQ(mail[u"defects"].toArray(), QJsonArray()) << c.from.toStdString();
        // Names outside ASCII travel as encoded words, never as raw bytes.
        const QString raw = mail[u"raw"].toString();
        const QString header = raw.left(raw.indexOf(QStringLiteral("\r\n\r\n")));
        EXPECT_TRUE(std::all_of(header.cbegin(), header.cend(), [](QChar ch) { return ch.unicode() < 128; }))
            << header.toStdString();
    }
}

TEST_F(ReportMailTest, AServerThatDoesNotGreetBackFailsTheConnectAndEndsTheSession)
{
    struct Case {
        const char *name;
        QList<QList<QByteArray>> script;
        QString reason;
    };
    const Case cases[] = {
        {"silent", {{"220 hi\r\n"}}, QStringLiteral("No reply within 1 s")},
        {"refusing", {{"220 hi\r\n"}, {"502 no EHLO\r\n"}, {"502 no HELO\r\n"}}, QStringLiteral("502 no HELO")},
    };
    for (const Case &c : cases) {
        ScriptedServer server(c.script);
        view.lines.clear();
        settings.EditPort = QString::number(server.Port());
        smtp.SetTimeOut(1);
        SendRep(report, 0, settings, QStringLiteral("The Zentavo"), message, smtp, runReport);
        EXPECT_EQ(view.untimedLines(),
                  QStringList({QStringLiteral("Failed on connect: SMTP"), c.reason, QString(50, u'-')}))
            << c.name;
        // Neither the mail nor a goodbye was tried.
        ASSERT_EQ(server.received.size(), 2) << c.name;
        EXPECT_TRUE(server.received[0].startsWith("EHLO ")) << c.name;
        EXPECT_TRUE(server.received[1].startsWith("HELO ")) << c.name;
        EXPECT_FALSE(smtp.Connected()) << c.name;
    }
}

TEST_F(ReportMailTest, UnreachableServerAndBadPortAreReportLines)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    settings.EditPort = QString::number(closed.serverPort());
    closed.close(); // nobody listens there now

    SendRep(report, 0, settings, QStringLiteral("The Zentavo"), message, smtp, runReport);
    QStringList lines = view.untimedLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("Failed on connect: SMTP"));
    EXPECT_FALSE(lines[1].isEmpty()); // why it failed
    EXPECT_EQ(lines[2], QString(50, u'-'));

    view.lines.clear();
    settings.EditPort = QStringLiteral("twenty-five");
    SendRep(report, 0, settings, QStringLiteral("The Zentavo"), message, smtp, runReport);
    lines = view.untimedLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("Failed on connect: SMTP"));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("twenty-five")));
}

TEST_F(ReportMailTest, AnUnusableAddressFailsTheMailWithItsOwnReason)
{
    TestSmtpServer server;
    ASSERT_NE(server.Port(), 0);
    settings.EditPort = QString::number(server.Port());
    struct Case {
        QString from;
        QString to;
        QString reason;
    };
    const QString evil = QStringLiteral("a@example.org\r\nRCPT TO:<evil@example.org>");
    for (const Case &c : {Case{evil, settings.EditEMail, QStringLiteral("The sender address holds a line break")},
                          Case{settings.EditFrom, evil, QStringLiteral("The recipient address holds a line break")},
                          Case{QStringLiteral("a@example.org, b@example.org"), settings.EditEMail,
                               QStringLiteral("The sender field holds more than one address")}}) {
        view.lines.clear();
        settings.EditFrom = c.from;
        settings.EditEMail = c.to;
        SendRep(report, 0, settings, QStringLiteral("The Zentavo"), message, smtp, runReport);
        EXPECT_EQ(view.untimedLines(),
                  QStringList({QStringLiteral("Failed on send: SMTP"), c.reason, QString(50, u'-')}));
    }
    EXPECT_TRUE(server.Messages().isEmpty());
}

TEST_F(ReportMailTest, ServerRepliesBecomeTrimmedLinesOfTheirOwn)
{
    ScriptedServer server(
        {{"220 hi\r\n"}, {"250-mail.test\r\n250 SIZE\r\n"}, {"550 no\x01 sender\r\n"}, {"221 bye\r\n"}});
    settings.EditPort = QString::number(server.Port());
    SendRep(report, 0, settings, QStringLiteral("The Zentavo"), message, smtp, runReport);
    EXPECT_EQ(
        view.untimedLines(),
        QStringList({QStringLiteral("Connected: SMTP"), QStringLiteral("Failed on send: SMTP"),
                     QStringLiteral("550 no\\x01 sender"), QStringLiteral("Disconnected: SMTP"), QString(50, u'-')}));
}
