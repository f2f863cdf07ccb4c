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

    const QStringList lines = view.untimedLines();
    EXPECT_EQ(lines,
              QStringList({QStringLiteral("Connected: SMTP"), QStringLiteral("Report sent: SMTP"),
                           QStringLiteral("Disconnected: SMTP"), QString(50, u'-')}));
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

TEST_F(ReportMailTest, AnAddressWithALineBreakFailsTheMailWithItsOwnReason)
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
                          Case{settings.EditFrom, evil, QStringLiteral("The recipient address holds a line break")}}) {
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
