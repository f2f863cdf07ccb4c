#include "platform/FileNames.h"

#include "AnyNamesTemporaryDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

TEST(FileNames, AnyBytesComeBackUnchanged)
{
    const QList<QByteArray> names{
        "plain.txt",
        "\xcf\xf0\xe8\xe2\xe5\xf2.txt",             // code page 1251
        "\xd0\x9f\xd1\x80\xd0\xb8.txt",             // valid UTF-8
        "mixed-\xd0\x9f-\xff\xfe-\xf0\x9f\x98\x80", // UTF-8, invalid bytes, a character beyond U+FFFF
        "\xed\xb2\x80 escape-like bytes",           // UTF-8 of a surrogate is invalid too
        "\xc0\xaf overlong",
        "cut \xe2\x82",
    };
    for (const QByteArray &bytes : names) {
        const QString name = platform::fileNameFromBytes(bytes);
        EXPECT_EQ(platform::fileNameBytes(name), bytes) << bytes.toHex().constData();
        EXPECT_EQ(platform::hasRawBytes(name), !QUtf8StringView(bytes).isValidUtf8());
    }
    EXPECT_EQ(platform::readableFileName(platform::fileNameFromBytes("a\xcf\xf0.txt")),
              QStringLiteral("a\\xCF\\xF0.txt"));
}

TEST(FileNames, NamesCompareAsTheFileSystemDoes)
{
    EXPECT_NE(platform::fileNameKey(QStringLiteral("/d/Data")), platform::fileNameKey(QStringLiteral("/d/data")));
    struct Case {
        QStringList paths;
        QString common;
    };
    const QList<Case> cases{
        {{u"/x/Data/a.txt"_s, u"/x/data/b.txt"_s}, u"/x/"_s},
        {{u"/x/Data/a.txt"_s, u"/x/Data/sub/b.txt"_s}, u"/x/Data/"_s},
        {{u"/x/ab/a.txt"_s, u"/x/ac/b.txt"_s}, u"/x/"_s},
        {{u"/x/Data/sub/a.txt"_s, u"/x/Data/b.txt"_s}, u"/x/Data/"_s},
        {{u"a.txt"_s, u"/x/b.txt"_s}, QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(platform::commonFolder(c.paths), c.common) << qPrintable(c.paths.join(u' '));
}

TEST(FileNames, OpensAFileWhoseNameIsNotUtf8)
{
    AnyNamesTemporaryDir dir;
    const QByteArray bytes = QFile::encodeName(dir.path()) + "/\xcf\xf0\xe8.txt";
    const QString path = platform::fileNameFromBytes(bytes);

    QFile writer;
    ASSERT_TRUE(platform::openFile(writer, path, QIODevice::WriteOnly));
    writer.write("content");
    writer.close();
    ASSERT_EQ(::access(bytes.constData(), F_OK), 0);

    QFile reader;
    ASSERT_TRUE(platform::openFile(reader, path, QIODevice::ReadOnly));
    EXPECT_EQ(reader.readAll(), "content");
}
