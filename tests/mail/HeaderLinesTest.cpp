#include "mail/HeaderLines.h"
#include "mail/HeaderWords.h"
#include "mail/MailNames.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace smtpmail;

namespace {

TEST(HeaderLines, ValuesAndParametersRespectQuotes)
{
    const QString line = QStringLiteral("Content-Type: text/plain; charset=\"windows-1251\"; name=\"a;b=c.txt\"");
    EXPECT_EQ(GetHeaderValue(line), QStringLiteral("text/plain"));
    EXPECT_EQ(GetHeaderValue(QStringLiteral("X: \"quoted;value\"")), QStringLiteral("quoted;value"));
    EXPECT_EQ(GetParamValue(line, QStringLiteral(" CHARSET ")), QStringLiteral("windows-1251"));
    EXPECT_EQ(GetParamValue(line, QStringLiteral("name")), QStringLiteral("a;b=c.txt"));
    EXPECT_EQ(GetParamValue(line, QStringLiteral("missing")), QString());

    EXPECT_EQ(SetHeaderValue(line, QStringLiteral(" text/html ")),
              QStringLiteral("Content-Type: text/html; charset=\"windows-1251\"; name=\"a;b=c.txt\""));
    EXPECT_EQ(SetParamValue(line, QStringLiteral("charset"), QStringLiteral("\"utf-8\"")),
              QStringLiteral("Content-Type: text/plain; charset=\"utf-8\"; name=\"a;b=c.txt\""));
    EXPECT_EQ(
        SetParamValue(QStringLiteral("Content-Type: text/plain "), QStringLiteral("format"), QStringLiteral("flowed")),
        QStringLiteral("Content-Type: text/plain; format=flowed"));
}

TEST(HeaderLines, FindsTheNthLineByPrefix)
{
    const QStringList lines{QStringLiteral("To: a"), QStringLiteral("content-type: x"), QStringLiteral("TO: b")};
    EXPECT_EQ(FindHeaderLine(lines, QStringLiteral("To:")), 0);
    EXPECT_EQ(FindHeaderLine(lines, QStringLiteral("to:"), 1), 2);
    EXPECT_EQ(FindHeaderLine(lines, QStringLiteral("Content-")), 1);
    EXPECT_EQ(FindHeaderLine(lines, QStringLiteral("Cc:")), -1);
}

TEST(HeaderLines, FoldsAtTheLastPlaceBeforeTheLimit)
{
    QString line = QStringLiteral("Subject: ") + QString(51, u'a');
    for (int i = 0; i < 8; ++i)
        line += QStringLiteral(" word");
    ASSERT_EQ(line.size(), 100);
    const QStringList folded = FoldHeaderLine(line).split(QStringLiteral("\r\n"));
    ASSERT_EQ(folded.size(), 3); // two lines and the empty rest
    EXPECT_LE(folded[0].size(), 72);
    EXPECT_EQ(folded[0], line.left(folded[0].size()));
    EXPECT_TRUE(folded[1].startsWith(u'\t'));
    EXPECT_EQ(folded[0] + u' ' + folded[1].mid(1), line);

    EXPECT_EQ(FoldHeaderLine(QStringLiteral("To: x\n")), QStringLiteral("To: x\r\n"));
    // No cut inside quotes; past the limit the first place outside them is taken.
    const QString name = QStringLiteral("To: \"") + QString(80, u'n').replace(10, 1, u' ') + u'"';
    EXPECT_EQ(FoldHeaderLine(name + QStringLiteral(" <a@b>")), name + QStringLiteral("\r\n\t<a@b>\r\n"));
}

TEST(HeaderLines, FoldingNeverCutsAnEncodedWord)
{
    const QString subject
        = QStringLiteral(u"Отчёт, итог; всё хорошо, ") + QString(120, u'ж') + QStringLiteral(u" конец");
    const QString line = QStringLiteral("Subject: ") + EncodeHeaderText(subject, QStringLiteral("utf-8"));
    const QString folded = FoldHeaderLine(line);
    const QStringList lines = folded.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_GT(lines.size(), 2);
    static const QRegularExpression word(
        QStringLiteral("^\\t?(Subject: )?(=\\?utf-8\\?Q\\?[^ ?]*\\?=)( =\\?utf-8\\?Q\\?[^ ?]*\\?=)*$"));
    for (const QString &piece : lines) {
        EXPECT_TRUE(word.match(piece).hasMatch()) << qPrintable(piece);
        EXPECT_LE(piece.size(), 90);
    }
    // Unfolding gives back the text.
    QString unfolded = folded;
    unfolded.replace(QStringLiteral("\r\n\t"), QStringLiteral(" ")).chop(2);
    EXPECT_EQ(DecodeHeaderWords(unfolded.mid(9)), subject);
}

TEST(HeaderLines, SmallStringRoutines)
{
    EXPECT_EQ(TrimBlanks(QStringLiteral(" \t a b \t ")), QStringLiteral("a b \t"));
    EXPECT_EQ(TrimLeftBlanks(QStringLiteral("\t a ")), QStringLiteral("a "));
    EXPECT_EQ(PadLeft(QStringLiteral("A"), 3, QStringLiteral("0")), QStringLiteral("00A"));
    EXPECT_EQ(PadLeft(QStringLiteral("12345"), 3, QStringLiteral("0")), QStringLiteral("345"));

    const QString text = QStringLiteral("a\r\nb\r\nc");
    qsizetype pos = 0;
    EXPECT_EQ(NextLine(text, pos), QStringLiteral("a\r\n"));
    EXPECT_EQ(NextLine(text, pos), QStringLiteral("b\r\n"));
    EXPECT_EQ(NextLine(text, pos), QStringLiteral("c"));
    EXPECT_EQ(pos, -1);
}

TEST(MailNames, BoundariesAddressesAndFileNames)
{
    static const QRegularExpression boundary(QStringLiteral("^boundary[0-9A-F]{8}$"));
    EXPECT_TRUE(boundary.match(MakeBoundary()).hasMatch());

    EXPECT_TRUE(IsIPAddress(QStringLiteral("127.0.0.1")));
    EXPECT_TRUE(IsIPAddress(QStringLiteral("300")));
    EXPECT_FALSE(IsIPAddress(QStringLiteral("mail.example.com")));
    EXPECT_FALSE(IsIPAddress(QStringLiteral("1..2.3")));
    EXPECT_FALSE(IsIPAddress(QString()));

    EXPECT_EQ(SafeFileName(QStringLiteral(" a:b/c*d?\"e'<f>|g\x01 ")), QStringLiteral("a_b_c_d__e__f__g_"));
    EXPECT_EQ(SafeFileName(QString(300, u'x')).size(), 254);

    EXPECT_EQ(GetExtensionByMimeType(QStringLiteral("text/plain")), QStringLiteral(".txt"));
    EXPECT_EQ(GetExtensionByMimeType(QStringLiteral("application/x-no-such-type")), QString());
}

} // namespace
