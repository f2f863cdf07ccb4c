#include "mail/MailEncodings.h"
#include "PythonTool.h"
#include "mail/HeaderWords.h"
#include "mail/MailCharset.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace smtpmail;

namespace {

const QString cyrillic = QStringLiteral(u"Отчёт о резервном копировании: всё в порядке");

TEST(Base64, EncodesInLinesOf76)
{
    EXPECT_EQ(EncodeBase64("abc"), "YWJj");
    EXPECT_EQ(EncodeBase64Stream(QByteArray()), QByteArray());

    const QByteArray one = EncodeBase64Stream(QByteArray(57, 'x'));
    EXPECT_EQ(one.size(), 78);
    EXPECT_TRUE(one.endsWith("\r\n"));
    EXPECT_EQ(one.indexOf("\r\n"), 76);

    const QList<QByteArray> two = EncodeBase64Stream(QByteArray(58, 'x')).split('\n');
    ASSERT_EQ(two.size(), 3); // two lines and the empty rest after the last line break
    EXPECT_EQ(two[1], "eA==\r");
}

TEST(Base64, SingleLineUsesCrLfAndDropsOneTrailingBreak)
{
    EXPECT_EQ(EncodeBase64("user\n"), EncodeBase64("user"));
    EXPECT_EQ(QByteArray::fromBase64(EncodeBase64("a\nb")), "a\r\nb");
    EXPECT_EQ(EncodeBase64(QByteArray()), QByteArray());
}

TEST(Base64, DecodesWholeGroupsOnly)
{
    EXPECT_EQ(DecodeBase64Line("YWJj\r\n"), "abc");
    EXPECT_EQ(DecodeBase64Line("YWI="), "ab");
    EXPECT_EQ(DecodeBase64Line("YQ=="), "a");
    EXPECT_EQ(DecodeBase64Line("YWJjZA"), "abc");
    EXPECT_EQ(DecodeBase64Line("YW*jYWJj"), QByteArray());
    EXPECT_EQ(DecodeBase64Line("===="), QByteArray());
}

TEST(QuotedPrintable, EscapesWhatTransportWouldChange)
{
    EXPECT_EQ(EncodeQuotedPrintable("a b \r\n", false), "a b=20\r\n");
    EXPECT_EQ(EncodeQuotedPrintable("tab\t\r\nx", false), "tab=09\r\nx\r\n");
    EXPECT_EQ(EncodeQuotedPrintable("end ", false), "end=20\r\n");
    EXPECT_EQ(EncodeQuotedPrintable("\xE9=\x01", false), "=E9=3D=01\r\n");
    EXPECT_EQ(EncodeQuotedPrintable("a\rb\nc", false), "a=0Db=0Ac\r\n");
    EXPECT_EQ(EncodeQuotedPrintable(QByteArray(), false), QByteArray());
    EXPECT_EQ(EncodeQuotedPrintable("a b?\r\n_", true), "a=20b=3F=0D=0A=5F");
}

TEST(QuotedPrintable, WrapsWithoutSplittingAnEscape)
{
    EXPECT_EQ(EncodeQuotedPrintable(QByteArray(80, 'x'), false),
              QByteArray(71, 'x') + "=\r\n" + QByteArray(9, 'x') + "\r\n");

    for (int shift = 0; shift < 3; ++shift) {
        const QByteArray text = QByteArray(68 + shift, 'x') + QByteArray(10, '\xE9');
        const QByteArray encoded = EncodeQuotedPrintable(text, false);
        for (const QByteArray &line : encoded.split('\n')) {
            EXPECT_LE(line.size(), 73);
            const QByteArray body = line.endsWith("=\r") ? line.chopped(2) : line.chopped(line.endsWith('\r') ? 1 : 0);
            const qsizetype lastEscape = body.lastIndexOf('=');
            EXPECT_TRUE(lastEscape < 0 || lastEscape + 3 <= body.size()) << line.constData();
        }
        EXPECT_EQ(DecodeQuotedPrintable(encoded), text + "\r\n");
    }
}

TEST(QuotedPrintable, DecodesUpperCaseEscapesAndSoftBreaks)
{
    EXPECT_EQ(DecodeQuotedPrintable("caf=E9"), "caf\xE9");
    EXPECT_EQ(DecodeQuotedPrintable("caf=e9!"), "caf!");
    EXPECT_EQ(DecodeQuotedPrintable("soft=\r\nbreak"), "softbreak");
    EXPECT_EQ(DecodeQuotedPrintable("soft=\nbreak"), "softbreak");
    EXPECT_EQ(DecodeQuotedPrintable("cut=A"), "cut");
}

TEST(HeaderWords, EncodeOnlyWhatNeedsIt)
{
    EXPECT_EQ(EncodeHeaderWord("Report", "windows-1251"), "Report");
    EXPECT_EQ(EncodeHeaderWord("Report 1", "windows-1251"), "=?windows-1251?Q?Report=201?=");
    EXPECT_EQ(EncodeHeaderText(QStringLiteral("Report"), QStringLiteral("windows-1251")), QStringLiteral("Report"));
}

TEST(HeaderWords, LongTextsBecomeSeveralShortWordsThatDecodeBack)
{
    for (const QString &charset : {QStringLiteral("windows-1251"), QStringLiteral("utf-8")}) {
        const QString text = cyrillic + u' ' + cyrillic;
        const QString encoded = EncodeHeaderText(text, charset);
        const QStringList words = encoded.split(u' ');
        EXPECT_GT(words.size(), 1);
        for (const QString &word : words) {
            EXPECT_LE(word.size(), 75);
            EXPECT_TRUE(word.startsWith(QStringLiteral("=?") + charset + u'?')) << qPrintable(word);
        }
        EXPECT_EQ(DecodeHeaderWords(encoded), text);
    }
}

TEST(HeaderWords, DecodeEveryWordInItsCharset)
{
    EXPECT_EQ(DecodeHeaderWords(QStringLiteral("=?x?Q?a_b?=")), QStringLiteral("a b"));
    EXPECT_EQ(DecodeHeaderWords(QStringLiteral("=?x?Q?a=e9b?=")), QStringLiteral("ab"));
    EXPECT_EQ(DecodeHeaderWords(QStringLiteral(" =?windows-1251?Q?=CE=EA?= and =?utf-8?B?0J7Qug==?= ")),
              QStringLiteral(u"Ок and Ок"));
    EXPECT_EQ(DecodeHeaderWords(QStringLiteral("=?utf-8?Q?a?= =?utf-8?Q?b?=")), QStringLiteral("ab"));
    EXPECT_EQ(DecodeHeaderWords(QStringLiteral("=?broken")), QStringLiteral("=?broken"));
}

TEST(Charset, TextTheCharsetCannotHoldIsSentInUtf8)
{
    const TCharsetText fits = EncodeInCharset(cyrillic, QStringLiteral("windows-1251"));
    EXPECT_EQ(fits.charset, "windows-1251");
    EXPECT_EQ(DecodeFromCharset(fits.bytes, fits.charset), cyrillic);

    const QString mixed = cyrillic + QStringLiteral(u" ✓ 日本");
    const TCharsetText wider = EncodeInCharset(mixed, QStringLiteral("windows-1251"));
    EXPECT_EQ(wider.charset, "utf-8");
    EXPECT_EQ(QString::fromUtf8(wider.bytes), mixed);
}

// Code page 866 and US-ASCII by their usual names, each name kept in the
// message as it was given.
TEST(Charset, CodePagesAndAsciiByTheirUsualNames)
{
    const struct {
        const char *charset;
        QString text;
        QByteArray bytes;
        QByteArray sentAs;
    } cases[] = {
        {"CP866", QStringLiteral(u"Ок"), "\x8E\xAA", "CP866"},
        {"ibm866", QStringLiteral(u"€"), "\xE2\x82\xAC", "utf-8"},
        {"US-ASCII", QStringLiteral("Report"), "Report", "US-ASCII"},
        {"us-ascii", QStringLiteral(u"Отчёт"), QStringLiteral(u"Отчёт").toUtf8(), "utf-8"},
    };
    for (const auto &c : cases) {
        const TCharsetText encoded = EncodeInCharset(c.text, QString::fromLatin1(c.charset));
        EXPECT_EQ(encoded.bytes, c.bytes) << c.charset;
        EXPECT_EQ(encoded.charset, c.sentAs) << c.charset;
    }
    EXPECT_EQ(DecodeHeaderWords(QStringLiteral("=?ibm866?Q?=8E=AA?= =?us-ascii?Q?a=80?=")),
              QStringLiteral(u"Ок"
                             "a\uFFFD"));
}

TEST(UUDecode, ReadsLinesAndRefusesForeignCharacters)
{
    EXPECT_EQ(UUDecodeChar('`'), 0);
    EXPECT_EQ(UUDecodeChar(' '), 0);
    EXPECT_EQ(UUDecodeChar('_'), 63);
    EXPECT_FALSE(UUDecodeChar('a').has_value());
    EXPECT_EQ(UUDecodeLine("#0V%T"), "Cat");
    EXPECT_EQ(UUDecodeLine("#0Va%T"), QByteArray());
    EXPECT_EQ(UUDecodeLine("M" + QByteArray(200, '!')).size(), 45);
}

QByteArray randomBytes(QRandomGenerator &random)
{
    static const QByteArray pieces[] = {"\r\n", " ", "\t", ".", "=", "\r", "\n", "_", "?"};
    QByteArray bytes;
    const int length = random.bounded(300);
    while (bytes.size() < length) {
        if (random.bounded(4) == 0)
            bytes += pieces[random.bounded(int(std::size(pieces)))];
        else
            bytes += char(random.bounded(256));
    }
    return bytes;
}

QString randomText(QRandomGenerator &random)
{
    static const QString alphabet
        = QStringLiteral(u"abcXYZ019 _=?\"'(),;:.<>\tАБВгдеёЖщЪыэюя€✓").append(QChar::fromUcs4(0x1F600));
    QString text;
    const int length = random.bounded(1, 80);
    for (int i = 0; i < length; ++i) {
        const qsizetype at = random.bounded(int(alphabet.size()));
        if (alphabet[at].isHighSurrogate())
            text += alphabet.mid(at, 2);
        else if (!alphabet[at].isLowSurrogate())
            text += alphabet[at];
    }
    return text.trimmed().isEmpty() ? QStringLiteral("x") : text.trimmed();
}

// Our encodings read back by Python's codecs, and Python's read back by ours.
TEST(Codecs, AgreeWithPythonOnRandomInputs)
{
    QRandomGenerator random(20261209);
    QList<QByteArray> inputs;
    QJsonArray cases;
    for (int i = 0; i < 300; ++i) {
        const QByteArray bytes = randomBytes(random);
        const QString text = randomText(random);
        const QString charset = i % 2 ? QStringLiteral("windows-1251") : QStringLiteral("utf-8");
        inputs << bytes;
        cases.append(QJsonObject{{QStringLiteral("bytes"), QString::fromLatin1(bytes.toHex())},
                                 {QStringLiteral("base64"), QString::fromLatin1(EncodeBase64Stream(bytes))},
                                 {QStringLiteral("qp"), QString::fromLatin1(EncodeQuotedPrintable(bytes, false))},
                                 {QStringLiteral("text"), text},
                                 {QStringLiteral("word"), EncodeHeaderText(text, charset)}});
        ASSERT_EQ(DecodeHeaderWords(EncodeHeaderText(text, charset)), text);
    }
    const QByteArray output = runPython(QStringLiteral(MAIL_TEST_SCRIPTS "/codec_check.py"),
                                        QJsonDocument(QJsonObject{{QStringLiteral("cases"), cases}}).toJson());
    const QJsonObject result = QJsonDocument::fromJson(output).object();
    ASSERT_TRUE(result.contains(QStringLiteral("failures"))) << output.constData();
    EXPECT_TRUE(result[QStringLiteral("failures")].toArray().isEmpty())
        << QJsonDocument(result[QStringLiteral("failures")].toArray()).toJson().left(3000).constData();

    const QJsonArray python = result[QStringLiteral("python")].toArray();
    ASSERT_EQ(python.size(), inputs.size());
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        QByteArray fromBase64;
        for (const QByteArray &line : python[i][QStringLiteral("base64")].toString().toLatin1().split('\n'))
            fromBase64 += DecodeBase64Line(line);
        EXPECT_EQ(fromBase64, inputs[i]) << "case " << i;
        EXPECT_EQ(DecodeQuotedPrintable(python[i][QStringLiteral("qp")].toString().toLatin1()),
                  QByteArray::fromHex(python[i][QStringLiteral("qp_decoded")].toString().toLatin1()))
            << "case " << i;
    }
}

} // namespace
