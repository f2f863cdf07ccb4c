#include "VorrinFormTest.h"

#include "SmtpTestServers.h"
#include "TestFiles.h"
#include "shared/ConstStr.h"
#include "shared/ZetuUnit.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpServer>

#include <csignal>
#include <sys/resource.h>

using namespace zentavo;
using platform::PromptButton;
using platform::PromptIcon;

namespace {

// Files of this process cannot grow beyond the limit while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_kept);
        m_keptSignal = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_kept;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_kept);
        signal(SIGXFSZ, m_keptSignal);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_kept{};
    sighandler_t m_keptSignal;
};

class VorrinTestMailTest : public VorrinFormTest {
protected:
    void SetUp() override
    {
        VorrinFormTest::SetUp();
        m_form = newForm();
        m_form->SMTP.SetTimeOut(10);
        // Typed, not saved: the test mail takes what the dialog shows.
        m_form->EditHost->setText(QStringLiteral("127.0.0.1"));
        m_form->EditEMail->setText(QStringLiteral("admin@example.org"));
        m_form->EditSubject->setText(QStringLiteral("Settings check"));
        m_form->EditFrom->setText(QStringLiteral("backup@example.org"));
    }

    // The box the test mail ends with.
    platform::MessageRequest testMail()
    {
        m_prompter->buttons.push_back(PromptButton::Ok);
        const std::size_t before = m_prompter->messages.size();
        m_form->BitBtnTest->click();
        EXPECT_EQ(m_prompter->messages.size(), before + 1);
        return m_prompter->messages.empty() ? platform::MessageRequest{} : m_prompter->messages.back();
    }

    std::unique_ptr<TFormVorrin> m_form;
};

} // namespace

TEST_F(VorrinTestMailTest, UnsavedValuesReachTheServerWithAndWithoutLogin)
{
    TestSmtpServer server;
    ASSERT_NE(server.Port(), 0);
    m_form->EditPort->setText(QString::number(server.Port()));

    const platform::MessageRequest sent = testMail();
    EXPECT_TRUE(sent.text.startsWith(QStringLiteral("SMTP: Report sent\n220"))) << sent.text.toStdString();
    EXPECT_TRUE(sent.text.endsWith(u'\n' + GetVersionInfoStr()));
    EXPECT_EQ(sent.icon, PromptIcon::Information);

    m_form->CheckBoxAuth->click();
    m_form->EditUserName->setText(QStringLiteral("user"));
    m_form->EditPassword->setText(QStringLiteral("secret"));
    m_form->EditSubject->setText(QStringLiteral("With login"));
    const platform::MessageRequest loggedIn = testMail();
    EXPECT_TRUE(loggedIn.text.startsWith(QStringLiteral("SMTP: Report sent\n"))) << loggedIn.text.toStdString();
    EXPECT_TRUE(loggedIn.text.contains(QStringLiteral("235"))) << loggedIn.text.toStdString();

    const QList<QJsonObject> received = server.Messages();
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(received[0][u"subject"].toString(), QStringLiteral("Settings check"));
    EXPECT_EQ(received[0][u"mail_from"].toString(), QStringLiteral("backup@example.org"));
    EXPECT_EQ(received[0][u"rcpt_tos"].toArray(), QJsonArray({QStringLiteral("admin@example.org")}));
    EXPECT_EQ(received[0][u"from"][0][0].toString(), QStringLiteral("The Zentavo"));
    EXPECT_TRUE(received[0][u"texts"][0][u"text"].toString().contains(QStringLiteral("Test")));
    EXPECT_EQ(received[1][u"subject"].toString(), QStringLiteral("With login"));
    // Nothing of this was saved.
    EXPECT_TRUE(newForm()->EditHost->text().isEmpty());
}

TEST_F(VorrinTestMailTest, FailuresEndTheSessionSoTheNextTestWorks)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 refusing = closed.serverPort();
    closed.close();
    m_form->EditPort->setText(QString::number(refusing));
    const platform::MessageRequest refused = testMail();
    EXPECT_TRUE(refused.text.startsWith(QStringLiteral("SMTP: Failed on connect\n"))) << refused.text.toStdString();
    EXPECT_EQ(refused.icon, PromptIcon::Error);

    // A refused recipient leaves no session behind either.
    TestSmtpServer server;
    ASSERT_NE(server.Port(), 0);
    m_form->EditPort->setText(QString::number(server.Port()));
    m_form->EditEMail->setText(QStringLiteral("refuse@example.org"));
    const platform::MessageRequest notSent = testMail();
    EXPECT_TRUE(notSent.text.startsWith(QStringLiteral("SMTP: Failed on send\n"))) << notSent.text.toStdString();
    EXPECT_TRUE(notSent.text.contains(QStringLiteral("550")));

    // A sender with a line break is refused with its own reason.
    m_form->EditEMail->setText(QStringLiteral("admin@example.org"));
    m_form->EditFrom->setText(QStringLiteral("backup@example.org\r\nRCPT TO:<evil@example.org>"));
    const platform::MessageRequest badSender = testMail();
    EXPECT_TRUE(
        badSender.text.startsWith(QStringLiteral("SMTP: Failed on send\nThe sender address holds a line break\n")))
        << badSender.text.toStdString();

    m_form->EditFrom->setText(QStringLiteral("backup@example.org"));
    EXPECT_TRUE(testMail().text.startsWith(QStringLiteral("SMTP: Report sent\n")));
    EXPECT_EQ(server.Messages().size(), 1);
    EXPECT_TRUE(m_form->BitBtnTest->isEnabled());
}

TEST_F(VorrinTestMailTest, APortThatIsNoNumberSendsNothing)
{
    m_form->EditPort->setText(QStringLiteral("smtp"));
    const platform::MessageRequest box = testMail();
    EXPECT_TRUE(box.text.contains(QStringLiteral("\"smtp\""))) << box.text.toStdString();
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Port"))) << box.text.toStdString();
    EXPECT_EQ(m_form->PageControl->currentIndex(), 3);
    EXPECT_FALSE(m_form->SMTP.Connected());
}

// Kept here for its fixture: a save onto a full disk, played by a file
// size limit the settings file does not fit in.
TEST_F(VorrinTestMailTest, ASaveThatCannotBeWrittenKeepsTheStoredSettings)
{
    m_form->ButtonOk->click(); // stores the typed mail settings
    const QByteArray stored = testfiles::readBytes(platform::registryFileName());
    ASSERT_FALSE(stored.isEmpty());

    m_prompter->buttons = {PromptButton::Ok};
    bool finished = false;
    QObject::connect(m_form.get(), &QDialog::finished, [&finished] { finished = true; });
    m_form->EditSubject->setText(QStringLiteral("Never stored"));
    {
        const FileSizeLimit full(64);
        m_form->ButtonOk->click();
    }
    EXPECT_FALSE(finished);
    ASSERT_EQ(m_prompter->messages.size(), 1u);
    EXPECT_EQ(m_prompter->messages[0].icon, PromptIcon::Error);
    EXPECT_TRUE(m_prompter->messages[0].text.startsWith(sWriteError));
    EXPECT_TRUE(m_prompter->messages[0].text.endsWith(QStringLiteral("File too large")))
        << m_prompter->messages[0].text.toStdString(); // the system's reason
    EXPECT_EQ(testfiles::readBytes(platform::registryFileName()), stored);

    // Closed, the dialog shows what is stored, not the edit that failed.
    m_form->ButtonCancel->click();
    EXPECT_EQ(m_form->EditSubject->text(), QStringLiteral("Settings check"));
    EXPECT_EQ(newForm()->EditSubject->text(), QStringLiteral("Settings check"));
}
