#include "editor/EditorDocument.h"

#include "TestFiles.h"
#include "shared/ConstStr.h"

#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

using namespace pelvo;

namespace {

class EditorDocumentTest : public ::testing::Test {
protected:
    QString path(const QString &name = QStringLiteral("Jobs.dat")) const { return dir.filePath(name); }

    // A job file of jobs "Job 1" ... with archive "/arc/N.zip" and one source, read into the document.
    void readJobs(int count)
    {
        QStringList lines{QStringLiteral("hand-made")};
        for (int i = 1; i <= count; ++i)
            lines << QStringLiteral(">") << QStringLiteral("Job %1").arg(i) << QStringLiteral("/arc/%1.zip").arg(i)
                  << QStringLiteral("D=/home/src%1").arg(i) << QStringLiteral("C=") << QStringLiteral("E=");
        testfiles::writeBytes(path(), testfiles::cp1251Lines(lines));
        document.setFileName(path());
        ASSERT_TRUE(document.read());
    }

    QStringList archives() const
    {
        QStringList names;
        for (const TBlock &block : document.blocks())
            names << block.GetStr(ArchiveName);
        return names;
    }

    QTemporaryDir dir;
    EditorDocument document;
};

TEST_F(EditorDocumentTest, ReadingReplacesTheJobsOrLeavesNone)
{
    document.addJob(QStringLiteral("left over"));
    testfiles::writeBytes(path(QStringLiteral("none.dat")), testfiles::cp1251Lines({QStringLiteral("header only")}));
    for (const QString &unreadable : {path(QStringLiteral("missing.dat")), path(QStringLiteral("none.dat"))}) {
        document.setFileName(unreadable);
        EXPECT_FALSE(document.read()) << unreadable.toStdString();
        EXPECT_TRUE(document.empty());
        EXPECT_EQ(document.current(), -1);
        EXPECT_EQ(document.currentBlock(), nullptr);
        EXPECT_FALSE(document.modified());
        EXPECT_EQ(document.fileName(), unreadable);
    }

    readJobs(2);
    EXPECT_EQ(document.names(), (QStringList{QStringLiteral("Job 1"), QStringLiteral("Job 2")}));
    EXPECT_EQ(archives(), (QStringList{QStringLiteral("/arc/1.zip"), QStringLiteral("/arc/2.zip")}));
    EXPECT_EQ(document.current(), 0);
    EXPECT_FALSE(document.modified());
    EXPECT_FALSE(document.hasPrevious());
    EXPECT_TRUE(document.hasNext());
}

TEST_F(EditorDocumentTest, PasteGoesBeforeTheJobShownAndOutlivesTheFile)
{
    readJobs(3);
    EXPECT_FALSE(document.canPaste());
    document.setCurrent(2);
    document.copyCurrent();
    EXPECT_FALSE(document.modified());
    document.setCurrent(1);
    document.paste();
    const QString copy = zentavo::sCopyOfJob + QStringLiteral(" Job 3");
    EXPECT_EQ(document.names(),
              (QStringList{QStringLiteral("Job 1"), copy, QStringLiteral("Job 2"), QStringLiteral("Job 3")}));
    EXPECT_EQ(archives(),
              (QStringList{QStringLiteral("/arc/1.zip"), QStringLiteral("/arc/3.zip"), QStringLiteral("/arc/2.zip"),
                           QStringLiteral("/arc/3.zip")}));
    EXPECT_EQ(document.current(), 1);
    EXPECT_TRUE(document.modified());

    // The copy is the job as it was copied, not the job as it is edited later.
    document.setCurrent(3);
    document.setText(ArchiveName, QStringLiteral("/arc/edited.zip"));
    document.reset(NoNameDat);
    EXPECT_TRUE(document.unnamed());
    document.paste();
    EXPECT_EQ(document.names(), QStringList{copy});
    EXPECT_EQ(archives(), QStringList{QStringLiteral("/arc/3.zip")});
    EXPECT_EQ(document.current(), 0);
}

TEST_F(EditorDocumentTest, RemovingShowsTheJobAtItsPlaceOrTheNewLastOne)
{
    struct Case {
        int jobs;
        int removed;
        QStringList left;
        int shown;
    };
    const Case cases[] = {
        {3, 0, {QStringLiteral("Job 2"), QStringLiteral("Job 3")}, 0},
        {3, 1, {QStringLiteral("Job 1"), QStringLiteral("Job 3")}, 1},
        {3, 2, {QStringLiteral("Job 1"), QStringLiteral("Job 2")}, 1},
        {1, 0, {}, -1},
    };
    for (const Case &c : cases) {
        readJobs(c.jobs);
        document.setCurrent(c.removed);
        document.removeCurrent();
        EXPECT_EQ(document.names(), c.left) << c.jobs << '/' << c.removed;
        EXPECT_EQ(document.count(), int(c.left.size()));
        EXPECT_EQ(document.current(), c.shown) << c.jobs << '/' << c.removed;
        EXPECT_TRUE(document.modified());
    }
}

TEST_F(EditorDocumentTest, NewJobsAndRenamesMarkTheJobsChangedOnlyWhenTheyChange)
{
    readJobs(1);
    EXPECT_FALSE(document.renameCurrent(QStringLiteral("Job 1")));
    EXPECT_FALSE(document.modified());
    EXPECT_TRUE(document.renameCurrent(QStringLiteral("Home")));
    EXPECT_TRUE(document.modified());

    document.addJob(QStringLiteral("Mail"));
    EXPECT_EQ(document.names(), (QStringList{QStringLiteral("Home"), QStringLiteral("Mail")}));
    EXPECT_EQ(document.current(), 1);
    ASSERT_NE(document.currentBlock(), nullptr);
    EXPECT_TRUE(document.currentBlock()->GetStr(ArchiveName).isEmpty());
}

TEST_F(EditorDocumentTest, EditsOfTheJobShownMarkTheJobsChangedOnlyWhenTheyChangeThem)
{
    using Tail = EditorDocument::Tail;
    struct Case {
        const char *edit;
        std::function<void(EditorDocument &)> apply;
        bool changes;
    };
    const QString dest = QStringLiteral("/mnt/a/=1");
    const Case cases[] = {
        {"archive name", [](EditorDocument &d) { d.setText(ArchiveName, QStringLiteral("/arc/x.zip")); }, true},
        {"same archive name", [](EditorDocument &d) { d.setText(ArchiveName, QStringLiteral("/arc/1.zip")); }, false},
        {"comment", [](EditorDocument &d) { d.setText(Comment, QStringLiteral("note")); }, true},
        {"source", [](EditorDocument &d) { d.setSource(0, QStringLiteral("/home/b")); }, true},
        {"same source", [](EditorDocument &d) { d.setSource(0, QStringLiteral("/home/src1")); }, false},
        {"source past the end", [](EditorDocument &d) { d.setSource(1, QStringLiteral("/x")); }, false},
        {"exclusions", [](EditorDocument &d) { d.setExclusions(0, QStringLiteral("*.tmp")); }, true},
        {"added source", [](EditorDocument &d) { d.addSource(QStringLiteral("/x"), QStringLiteral("*.o")); }, true},
        {"removed source", [](EditorDocument &d) { d.removeSource(0); }, true},
        {"source removed before the start", [](EditorDocument &d) { d.removeSource(-1); }, false},
        {"added line", [dest](EditorDocument &d) { d.addLine(Tail::Destinations, dest); }, true},
        {"line", [](EditorDocument &d) { d.setLine(Tail::Commands, 0, QStringLiteral("CMD2>run=")); }, true},
        {"same line", [](EditorDocument &d) { d.setLine(Tail::Commands, 0, QStringLiteral("CMD1>run=")); }, false},
        {"line of an empty list", [](EditorDocument &d) { d.setLine(Tail::ExtraCopies, 0, QStringLiteral("W>/w/=")); },
         false},
        {"removed line", [](EditorDocument &d) { d.removeLine(Tail::Commands, 0); }, true},
        {"line removed past the end", [](EditorDocument &d) { d.removeLine(Tail::Commands, 1); }, false},
    };
    for (const Case &c : cases) {
        testfiles::writeBytes(
            path(),
            testfiles::cp1251Lines({QStringLiteral("hand-made"), QStringLiteral(">"), QStringLiteral("Job 1"),
                                    QStringLiteral("/arc/1.zip"), QStringLiteral("D=/home/src1"), QStringLiteral("C="),
                                    QStringLiteral("E="), QStringLiteral("CMD1=run=")}));
        document.setFileName(path());
        ASSERT_TRUE(document.read());
        const TBlock before = *document.currentBlock();
        c.apply(document);
        EXPECT_EQ(document.modified(), c.changes) << c.edit;
        const TBlock &after = *document.currentBlock();
        const bool differs = after.GetStr(ArchiveName) != before.GetStr(ArchiveName)
            || after.GetStr(Comment) != before.GetStr(Comment) || after.Sources != before.Sources
            || after.Exclusions != before.Exclusions || after.Dests != before.Dests
            || after.ExtCopies != before.ExtCopies || after.Cmds != before.Cmds;
        EXPECT_EQ(differs, c.changes) << c.edit;
        EXPECT_EQ(after.Sources.size(), after.Exclusions.size()) << c.edit;
    }

    // Without a job shown there is nothing to edit.
    document.reset(NoNameDat);
    for (const Case &c : cases)
        c.apply(document);
    EXPECT_FALSE(document.modified());
    EXPECT_TRUE(document.empty());
}

TEST_F(EditorDocumentTest, ATentativeEditIsTakenBackWithItsMarkUnlessKept)
{
    readJobs(2);
    {
        EditorDocument::Tentative added(document);
        document.addLine(EditorDocument::Tail::Destinations, QString());
        document.setLine(EditorDocument::Tail::Destinations, 0, QStringLiteral("/mnt/a/="));
        EXPECT_TRUE(document.modified());
    }
    EXPECT_TRUE(document.currentBlock()->Dests.isEmpty());
    EXPECT_FALSE(document.modified());

    {
        EditorDocument::Tentative added(document);
        document.addLine(EditorDocument::Tail::Destinations, QStringLiteral("/mnt/a/="));
        added.keep();
    }
    EXPECT_EQ(document.currentBlock()->Dests, QStringList{QStringLiteral("/mnt/a/=")});
    EXPECT_TRUE(document.modified());

    // An edit taken back leaves an earlier change marked.
    {
        EditorDocument::Tentative added(document);
        document.addLine(EditorDocument::Tail::Commands, QStringLiteral("CMD1>"));
    }
    EXPECT_TRUE(document.currentBlock()->Cmds.isEmpty());
    EXPECT_TRUE(document.modified());
}

TEST_F(EditorDocumentTest, SavingKeepsTheFilesEncodingAndClearsTheChangeMark)
{
    const QString sun = QStringLiteral(u"Sonne \u2600");
    testfiles::writeBytes(path(),
                          (QStringList{QStringLiteral("header"), QStringLiteral(">"), sun, QStringLiteral("/arc/1.zip"),
                                       QStringLiteral("D=/home/a"), QStringLiteral("C="), QStringLiteral("E=")}
                               .join(QStringLiteral("\r\n"))
                           + QStringLiteral("\r\n"))
                              .toUtf8());
    document.setFileName(path());
    ASSERT_TRUE(document.read());
    EXPECT_EQ(document.encoding(), textencoding::Encoding::Utf8);
    ASSERT_TRUE(document.renameCurrent(sun + QStringLiteral(" 2")));

    const QString missingFolder = path(QStringLiteral("missing/Jobs.dat"));
    document.setFileName(missingFolder);
    EXPECT_FALSE(document.save().isEmpty());
    EXPECT_TRUE(document.modified());

    document.setFileName(path());
    EXPECT_FALSE(document.saveRefusal());
    EXPECT_EQ(document.save(), QString());
    EXPECT_FALSE(document.modified());
    EXPECT_TRUE(testfiles::readBytes(path()).contains((sun + QStringLiteral(" 2")).toUtf8()));
    EXPECT_TRUE(document.read());
    EXPECT_EQ(document.names(), QStringList{sun + QStringLiteral(" 2")});
}

} // namespace
