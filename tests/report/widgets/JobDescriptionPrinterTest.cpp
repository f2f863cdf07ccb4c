#include "report/widgets/JobDescriptionPrinter.h"
#include "editor/widgets/PelvoPrint.h"

#include "JobFileSamples.h"
#include "PdfText.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "editor/JobFileFormat.h"
#include "engine/JobFileReader.h"
#include "shared/ConstStr.h"
#include "shared/ZentavoExt.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "WidgetTest.h"

#include <gtest/gtest.h>

using namespace zentavo;
using testfiles::pdfText;

namespace {

class JobDescriptionPrinterTest : public WidgetTest {
protected:
    void SetUp() override
    {
        auto scripted = std::make_unique<ScriptedPrompter>();
        prompts = scripted.get();
        platform::setPrompter(std::move(scripted));
    }

    void TearDown() override { platform::setPrompter(nullptr); }

    QString path(const QString &name) const { return dir.filePath(name); }

    // Reads the job file the way the main program does and the way the editor does.
    void load(const QStringList &jobFile)
    {
        jobFileName = path(QStringLiteral("jobs.dat"));
        testfiles::writeBytes(jobFileName, testfiles::cp1251Lines(jobFile));
        ASSERT_TRUE(ReadFDat(jobFileName, jobs));
        const std::optional<pelvo::JobList> read = pelvo::ReadJobFile(jobFileName);
        ASSERT_TRUE(read);
        editorJobs = *read;
    }

    void printTo(const QString &pdf)
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    }

    // The printed lines of the main program (or the editor) as the PDF shows
    // them: gaps, such as tabs and doubled blanks, become one blank, and
    // ligatures their letters.
    QStringList printed(bool editor)
    {
        const QString pdf = path(editor ? QStringLiteral("editor.pdf") : QStringLiteral("main.pdf"));
        printTo(pdf);
        prompts->printAnswers.push_back(true);
        const bool done = editor ? pelvo::PrintJobs(printer, editorJobs.names, editorJobs.blocks, jobFileName)
                                 : PrintJob(printer, jobFileName, jobs);
        EXPECT_TRUE(done);
        QStringList lines;
        const QString text = pdfText(pdf, true).normalized(QString::NormalizationForm_KC);
        for (const QString &line : text.split(QRegularExpression(QStringLiteral("[\\n\\f]"))))
            if (!line.trimmed().isEmpty())
                lines << line.simplified();
        return lines;
    }

    QTemporaryDir dir;
    ScriptedPrompter *prompts = nullptr;
    QPrinter printer;
    QString jobFileName;
    TBlocks jobs;
    pelvo::JobList editorJobs;
};

} // namespace

TEST_F(JobDescriptionPrinterTest, BothProgramsPrintEveryPartOfTheSameFileAlike)
{
    load(samples::everythingJobFile());
    printer.setCopyCount(3);
    const QStringList lines = printed(false);
    EXPECT_EQ(printer.copyCount(), 1);
    EXPECT_EQ(printed(true), lines);
    // The parts the printer's type and layout could lose: a Cyrillic title,
    // the small days beside a copy and a command, the period captions.
    const qsizetype first = lines.indexOf(QStringLiteral("N 1 Ежедневно"));
    ASSERT_GE(first, 0) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines.mid(first + 4, 5),
              (QStringList{QStringLiteral("/home/*.doc"), QStringLiteral("Comment: weekly set"),
                           QStringLiteral("List of daily copies:"), QStringLiteral("/copy/monfri/ (only on Mo, Fr)"),
                           QStringLiteral("/copy/daily/")}));
    for (const QString &part : {sCopyWeek, sCopyMonth, sCopyQuart, sCopyYear,
                                QStringLiteral("Copy \"/music/Back TO Black\" to \"/copy/\" (only on Su, Sa)"),
                                QStringLiteral("notepad /r.txt (only on We)"), QStringLiteral("N 2 Second")})
        EXPECT_TRUE(lines.contains(part)) << part.toStdString();
}

TEST_F(JobDescriptionPrinterTest, BareJobPrintsFourParts)
{
    load(samples::bareJobFile());
    const QStringList lines = printed(false);
    // Nothing but the header, the number and title, the archive and the sources.
    EXPECT_EQ(lines,
              (QStringList{sJobFile + QStringLiteral(" ") + jobFileName, QStringLiteral("N 1 Bare"),
                           QStringLiteral("Archive name: /arc/Bare.zip"), QStringLiteral("Filelist to archiving:"),
                           QStringLiteral("/bare/")}));
}

TEST_F(JobDescriptionPrinterTest, CancelOrAPrinterThatCannotOpenPrintsNothingAndSaysNothing)
{
    load(samples::bareJobFile());
    const QString pdf = path(QStringLiteral("cancelled.pdf"));
    printTo(pdf);
    prompts->printAnswers.push_back(false);
    EXPECT_FALSE(PrintJob(printer, jobFileName, jobs));
    prompts->printAnswers.push_back(false);
    EXPECT_FALSE(pelvo::PrintJobs(printer, editorJobs.names, editorJobs.blocks, jobFileName));
    EXPECT_FALSE(QFile::exists(pdf));

    printTo(path(QStringLiteral("no/such/folder/job.pdf")));
    prompts->printAnswers.push_back(true);
    EXPECT_FALSE(PrintJob(printer, jobFileName, jobs));
    // The scripted prompter fails the test on any message box.
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(JobDescriptionPrinterTest, LongDescriptionsWrapAndGoOnOverPages)
{
    const QString tail = QStringLiteral("ENDOFTHELONGSOURCE");
    for (int i = 0; i < 40; ++i) {
        TBlock block;
        block.SetStr(Title, QStringLiteral("Job %1").arg(i));
        block.SetStr(ArchiveName, QStringLiteral("/arc/%1.zip").arg(i));
        block.Sources << QStringLiteral("/long/") + QString(300, u'x') + tail;
        block.Exclusions << QString();
        block.Dests << QStringLiteral("/copy/=135");
        jobs.push_back(block);
    }
    const QString pdf = path(QStringLiteral("long.pdf"));
    printTo(pdf);
    prompts->printAnswers.push_back(true);
    ASSERT_TRUE(PrintJob(printer, jobFileName, jobs));
    const QString text = pdfText(pdf);
    EXPECT_EQ(text.count(tail), 40);
    EXPECT_GE(text.count(u'\f'), 3);
    for (int i = 0; i < 40; ++i)
        EXPECT_TRUE(text.contains(QStringLiteral("Job %1\n").arg(i))) << i;
}
