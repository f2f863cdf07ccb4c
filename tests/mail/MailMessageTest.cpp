#include "mail/MailMessage.h"
#include "mail/HeaderWords.h"
#include "mail/MailEncodings.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>

#include <gtest/gtest.h>

using namespace smtpmail;

namespace {

QStringList fieldNames(const TMailMessage &message)
{
    QStringList names;
    for (const QString &line : message.HeaderLines)
        names << line.left(line.indexOf(u':'));
    return names;
}

// The message as the programs fill it for a report.
class MailMessageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        message.Charset = QStringLiteral("windows-1251");
        message.TextEncoding = etQuotedPrintable;
    }

    void fill(const QString &to, const QString &text)
    {
        message.To.ClearRecipients();
        message.To.AddRecipient(QString(), to);
        message.SetSubject(QStringLiteral("Report"));
        message.SetFrom(QStringLiteral("Zentavo"), QStringLiteral("a@example.org"));
        message.SetTextPlain(text);
        message.RebuildBody();
    }

    TMailMessage message;
};

TEST_F(MailMessageTest, SingleTextMessageHasTheFieldsInOrder)
{
    const QString text = QStringLiteral(u"Копия готова.\nВсё в порядке.");
    fill(QStringLiteral("b@example.org"), text);
    EXPECT_EQ(fieldNames(message),
              QStringList({QStringLiteral("To"), QStringLiteral("Subject"), QStringLiteral("From"),
                           QStringLiteral("Mime-Version"), QStringLiteral("X-Mailer"),
                           QStringLiteral("Content-Transfer-Encoding"), QStringLiteral("Content-Type"),
                           QStringLiteral("Content-Disposition"), QStringLiteral("Content-Length")}));
    EXPECT_EQ(message.GetHeaderField(QStringLiteral("Content-Transfer-Encoding")), QStringLiteral("quoted-printable"));
    EXPECT_EQ(message.HeaderLines[6], QStringLiteral("Content-Type: text/plain; charset=\"windows-1251\""));
    EXPECT_EQ(message.GetHeaderField(QStringLiteral("Content-Length")), QString::number(message.Body.size()));
    EXPECT_FALSE(message.Body.contains("multipart"));
    EXPECT_FALSE(message.NeedRebuild());
    QStringDecoder cp1251("windows-1251");
    EXPECT_EQ(QString(cp1251.decode(DecodeQuotedPrintable(message.Body))),
              QString(text).replace(u'\n', QStringLiteral("\r\n")) + QStringLiteral("\r\n"));

    const QStringList before = fieldNames(message);
    message.SetTextPlain(QStringLiteral("short"));
    EXPECT_TRUE(message.NeedRebuild());
    message.RebuildBody();
    EXPECT_EQ(fieldNames(message), before);
    EXPECT_EQ(message.Body, "short\r\n");
    EXPECT_EQ(message.GetHeaderField(QStringLiteral("Content-Length")), QStringLiteral("7"));

    const QStringList rebuilt = message.HeaderLines;
    message.RebuildBody();
    EXPECT_EQ(message.HeaderLines, rebuilt);
}

TEST_F(MailMessageTest, TextOutsideTheCharsetIsDeclaredAsUtf8)
{
    const QString text = QStringLiteral(u"Файл “отчёт” ✓");
    fill(QStringLiteral("b@example.org"), text);
    EXPECT_EQ(message.GetHeaderParam(QStringLiteral("Content-Type"), QStringLiteral("charset")),
              QStringLiteral("utf-8"));
    EXPECT_EQ(QString::fromUtf8(DecodeQuotedPrintable(message.Body)), text + QStringLiteral("\r\n"));
}

TEST_F(MailMessageTest, SubjectIsEncodedOnlyWhenItNeedsIt)
{
    message.SetSubject(QStringLiteral("Report2026"));
    EXPECT_EQ(message.GetHeaderField(QStringLiteral("Subject")), QStringLiteral("Report2026"));
    message.SetSubject(QStringLiteral("[Ok!] Report"));
    EXPECT_TRUE(message.GetHeaderField(QStringLiteral("Subject")).startsWith(QStringLiteral("=?windows-1251?Q?")));
    message.SetSubject(QStringLiteral(u"a;b Отчёт"));
    EXPECT_EQ(DecodeHeaderWords(message.GetHeaderField(QStringLiteral("Subject"))), QStringLiteral(u"a;b Отчёт"));
    message.SetSubject(QString());
    EXPECT_FALSE(message.HasHeaderField(QStringLiteral("Subject")));
}

TEST_F(MailMessageTest, AddressFieldsReadNamesAndAddresses)
{
    message.HeaderLines << QStringLiteral(
        "To: \"Name A\" <a@x.org>, b@y.org (Name B); =?utf-8?Q?=D0=98=D0=B2?= <c@z.org>");
    EXPECT_EQ(message.To.Addresses(),
              QStringList({QStringLiteral("a@x.org"), QStringLiteral("b@y.org"), QStringLiteral("c@z.org")}));
    EXPECT_EQ(message.To.Names(),
              QStringList({QStringLiteral("Name A"), QStringLiteral("Name B"), QStringLiteral(u"Ив")}));

    // A change that keeps the header's length is still seen.
    message.HeaderLines.last().replace(QStringLiteral("a@x.org"), QStringLiteral("q@x.org"));
    EXPECT_EQ(message.To.Addresses().first(), QStringLiteral("q@x.org"));
}

TEST_F(MailMessageTest, SeveralAddressesInOneTextGiveOneEntryEach)
{
    ASSERT_TRUE(message.To.AddRecipient(QString(), QStringLiteral(" a@x.org, b@y.org;c@z.org ")));
    EXPECT_EQ(message.To.Count(), 3);
    EXPECT_EQ(message.GetHeaderField(QStringLiteral("To")), QStringLiteral("<a@x.org>, <b@y.org>, <c@z.org>"));

    message.To.AddRecipient(QStringLiteral(u"Пётр Иванов"), QStringLiteral("p@x.org"));
    message.To.AddRecipient(QStringLiteral("Plain"), QStringLiteral("q@x.org"));
    const QString field = message.HeaderLines.last();
    EXPECT_TRUE(field.contains(QStringLiteral(", =?windows-1251?Q?")));
    EXPECT_TRUE(field.contains(QStringLiteral("?= <p@x.org>")));
    EXPECT_TRUE(field.endsWith(QStringLiteral(", \"Plain\" <q@x.org>")));
    EXPECT_EQ(message.To.Names().at(3), QStringLiteral(u"Пётр Иванов"));

    message.To.ClearRecipients();
    EXPECT_EQ(message.To.Count(), 0);
    EXPECT_FALSE(message.HasHeaderField(QStringLiteral("To")));
}

TEST_F(MailMessageTest, ABackslashInANameSurvivesEveryRewriteOfTheField)
{
    // A name with blanks or quotes becomes encoded words; one without stays
    // a quoted string, in which a backslash is an escape.
    const QString name = QStringLiteral("Robot\\1");
    message.To.AddRecipient(name, QStringLiteral("a@x.org"));
    message.To.AddRecipient(QString(), QStringLiteral("b@x.org"));
    message.To.AddRecipient(QString(), QStringLiteral("c@x.org"));
    EXPECT_EQ(message.To.Names(), QStringList({name, QString(), QString()}));
    EXPECT_EQ(message.To.Addresses(),
              QStringList({QStringLiteral("a@x.org"), QStringLiteral("b@x.org"), QStringLiteral("c@x.org")}));
    EXPECT_TRUE(message.GetHeaderField(QStringLiteral("To")).startsWith(QStringLiteral("\"Robot\\\\1\" <a@x.org>")));
}

TEST_F(MailMessageTest, LineBreaksCannotAddHeaderLines)
{
    EXPECT_FALSE(message.To.AddRecipient(QString(), QStringLiteral("a@x.org\r\nBcc: victim@x.org")));
    EXPECT_FALSE(message.SetFrom(QString(), QStringLiteral("a@x.org\nX: y")));
    EXPECT_TRUE(message.HeaderLines.isEmpty());

    message.SetSubject(QStringLiteral("Hi\r\nBcc: victim@x.org"));
    message.SetHeaderField(QStringLiteral("X-Note"), QStringLiteral("one\r\nBcc: victim@x.org"));
    message.SetTextPlain(QStringLiteral("body"));
    message.RebuildBody();
    const QByteArray text = message.GetPartText();
    const QByteArray header = text.left(text.indexOf("\r\n\r\n") + 2);
    EXPECT_FALSE(header.contains("\nBcc:")) << header.constData();
}

TEST_F(MailMessageTest, FromAndMessageId)
{
    message.SetFrom(QStringLiteral(u"Зентаво"), QStringLiteral("z@x.org"));
    EXPECT_FALSE(message.GetHeaderField(QStringLiteral("From")).contains(u'"'));
    EXPECT_EQ(message.GetAddressField(QStringLiteral("From")),
              (TAddress{QStringLiteral(u"Зентаво"), QStringLiteral("z@x.org")}));
    message.SetFrom(QStringLiteral("Zentavo"), QStringLiteral("z@x.org"));
    EXPECT_EQ(message.GetHeaderField(QStringLiteral("From")), QStringLiteral("\"Zentavo\" <z@x.org>"));
    EXPECT_EQ(message.GetFromAddress(), QStringLiteral("z@x.org"));
    message.SetFrom(QStringLiteral("Zentavo"), QString());
    EXPECT_FALSE(message.HasHeaderField(QStringLiteral("From")));
    // The sender text is read as a recipient's: its own name wins.
    EXPECT_TRUE(message.SetFrom(QStringLiteral("Zentavo"), QStringLiteral("Backup Robot <z@x.org>")));
    EXPECT_EQ(message.GetAddressField(QStringLiteral("From")),
              (TAddress{QStringLiteral("Backup Robot"), QStringLiteral("z@x.org")}));
    EXPECT_FALSE(message.SetFrom(QStringLiteral("Zentavo"), QStringLiteral("y@x.org, z@x.org")));

    message.SetMessageId(QStringLiteral("127.0.0.1"), QDateTime(QDate(2026, 12, 9), QTime(15, 33, 50)));
    static const QRegularExpression id(
        QStringLiteral("^<20261209153350\\.[0-9A-F]{1,8}\\.[0-9A-F]{1,8}@127\\.0\\.0\\.1>$"));
    EXPECT_TRUE(id.match(message.GetHeaderField(QStringLiteral("Message-ID"))).hasMatch());
}

// Mail readers parse the date: English names and a numeric zone, whatever
// the locale and whichever side of UTC the moment lies.
TEST_F(MailMessageTest, DateIsWrittenAsMailReadersParseIt)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const struct {
        QDateTime when;
        const char *expected;
    } cases[] = {
        {QDateTime(QDate(2026, 12, 9), QTime(15, 33, 50), Qt::OffsetFromUTC, 3600), "Wed, 09 Dec 2026 15:33:50 +0100"},
        {QDateTime(QDate(2027, 1, 3), QTime(7, 5, 9), Qt::OffsetFromUTC, -(5 * 3600 + 30 * 60)),
         "Sun, 03 Jan 2027 07:05:09 -0530"},
        {QDateTime(QDate(2026, 6, 1), QTime(0, 0), Qt::UTC), "Mon, 01 Jun 2026 00:00:00 +0000"},
    };
    for (const auto &c : cases) {
        message.SetDate(c.when);
        EXPECT_EQ(message.GetHeaderField(QStringLiteral("Date")), QLatin1String(c.expected));
    }
    // A later date replaces the field in place.
    EXPECT_EQ(fieldNames(message).count(QStringLiteral("Date")), 1);
    QLocale::setDefault(previous);
}

TEST_F(MailMessageTest, PlainAndHtmlTextsBecomeAnAlternative)
{
    fill(QStringLiteral("b@example.org"), QStringLiteral(u"Текст"));
    message.SetText(QStringLiteral("<p>Html</p>"), tsHtml, QStringLiteral("text/html"));
    message.RebuildBody();
    EXPECT_EQ(message.GetContentType(), QStringLiteral("multipart/alternative"));
    const QString boundary = message.GetBoundary();
    EXPECT_TRUE(boundary.endsWith(QStringLiteral("_alternative")));
    ASSERT_EQ(message.SubParts().Count(), 2);
    EXPECT_EQ(message.SubParts().Items(0)->GetContentType(), QStringLiteral("text/plain"));
    EXPECT_EQ(message.SubParts().Items(1)->GetContentType(), QStringLiteral("text/html"));
    EXPECT_FALSE(message.HasHeaderField(QStringLiteral("Content-Transfer-Encoding")));

    const QByteArray body = message.Body;
    const QByteArray delimiter = "\r\n--" + boundary.toLatin1() + "\r\n";
    EXPECT_TRUE(body.startsWith("This is a multipart message in mime format.\r\n" + delimiter));
    EXPECT_EQ(body.count(delimiter), 2);
    EXPECT_TRUE(body.endsWith("\r\n--" + boundary.toLatin1() + "--\r\n"));
    EXPECT_TRUE(body.contains("charset=\"windows-1251\"\r\nContent-Disposition: inline"));
    EXPECT_TRUE(body.contains(EncodeQuotedPrintable("\xD2\xE5\xEA\xF1\xF2", false)));

    message.SetTextPlain(QStringLiteral("again"));
    message.RebuildBody();
    EXPECT_EQ(message.SubParts().Count(), 2);
    EXPECT_TRUE(message.Body.contains("again\r\n"));
}

} // namespace

namespace {

TEST(MailPart, AttachmentFileNamesAreDecodedAndSafe)
{
    TMailMessage message;
    TMailPart part(&message);
    EXPECT_EQ(part.GetAttachmentFileName(), QStringLiteral("unknown"));
    part.HeaderLines << QStringLiteral("Content-Type: text/plain");
    EXPECT_EQ(part.GetAttachmentFileName(), QStringLiteral("text_plain.txt"));
    part.HeaderLines[0] = QStringLiteral("Content-Type: application/pdf; name=\"=?utf-8?Q?=D0=9E=D1=82:1?=\"");
    EXPECT_EQ(part.GetAttachmentFileName(), QStringLiteral(u"От_1.pdf"));
}

TEST(MailPart, DecodesEachTransferEncoding)
{
    TMailMessage message;
    TMailPart base64(&message);
    base64.HeaderLines << QStringLiteral("Content-Transfer-Encoding: Base64");
    base64.Body = "  0J7RgtGH0ZHRgiwg\r\n0LLRgdGRINGF0L7RgNC+0YjQvg==  \r\n";
    base64.Decode();
    EXPECT_EQ(QString::fromUtf8(base64.DecodedBody), QStringLiteral(u"Отчёт, всё хорошо"));

    TMailPart uu(&message);
    uu.HeaderLines << QStringLiteral("Content-Transfer-Encoding: x-uuencode");
    uu.Body = "#0V%T\r\n";
    uu.Decode();
    EXPECT_EQ(uu.DecodedBody, "Cat");
    EXPECT_EQ(uu.Body, "Q2F0\r\n");
    EXPECT_EQ(uu.GetHeaderField(QStringLiteral("Content-Transfer-Encoding")), QStringLiteral("base64"));
}

} // namespace
