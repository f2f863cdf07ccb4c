#include "report/widgets/ViewRep.h"

#include "PdfText.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "report/ReportLines.h"
#include "report/widgets/ReportLineDelegate.h"
#include "shared/ConstStr.h"
#include "shared/LanguageFile.h"
#include "shared/ZentavoExt.h"
#include "shared/widgets/LocalizeForm.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QImage>
#include <QListWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QToolTip>

#include "WidgetTest.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zentavo;
using platform::PromptButton;
using testfiles::pdfText;

namespace {

const QDateTime RunStart(QDate(2026, 3, 1), QTime(22, 15, 7));

// The lines of a run, with fixed times so that each call gives the same lines.
QStringList runLines()
{
    return {report::timed(sBeginProcess, RunStart),
            report::Separator,
            sJob + QStringLiteral(" Daily"),
            sCopy + QStringLiteral(" /data/Ärchiv.zip"),
            sSourceNotFount + QStringLiteral(" /data/gone"),
            report::Separator,
            QStringLiteral("Daily - ") + sRes[1],
            report::Separator,
            report::timed(sEndProcess, RunStart.addSecs(60)),
            QString()};
}

QByteArray crLfUtf8(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

class ViewRepTest : public WidgetTest {
protected:
    void SetUp() override
    {
        auto scripted = std::make_unique<ScriptedPrompter>();
        prompts = scripted.get();
        platform::setPrompter(std::move(scripted));
        reportPath = dir.filePath(QStringLiteral("Report.txt"));
        testfiles::writeBytes(reportPath, crLfUtf8(runLines()));
        viewer = std::make_unique<TFormRep>();
    }
    void TearDown() override
    {
        viewer.reset();
        platform::setPrompter(nullptr);
    }

    QAction *tool(const char *name) const { return viewer->findChild<QAction *>(QString::fromLatin1(name)); }
    QListWidget *list() const { return viewer->findChild<QListWidget *>(QStringLiteral("ListBoxRep")); }

    void openReport()
    {
        ASSERT_TRUE(viewer->LoadFile(sReport, reportPath));
        viewer->show();
    }
    QTemporaryDir dir;
    QString reportPath;
    ScriptedPrompter *prompts = nullptr;
    std::unique_ptr<TFormRep> viewer;
};

} // namespace

TEST_F(ViewRepTest, LoadsTheFileAndSelectsTheLastLine)
{
    ASSERT_NE(list(), nullptr);
    EXPECT_FALSE(tool("TBPrint")->isEnabled());
    // A load after a clear starts afresh.
    openReport();
    tool("TBClear")->trigger();
    ASSERT_TRUE(viewer->Cleared());
    viewer->hide();
    openReport();
    EXPECT_EQ(viewer->Lines(), runLines());
    EXPECT_EQ(viewer->windowTitle(), sReport);
    EXPECT_FALSE(viewer->Cleared());
    for (const char *name : {"TBPrint", "TBClear", "TBSearch"})
        EXPECT_TRUE(tool(name)->isEnabled()) << name;
    EXPECT_FALSE(tool("TBSearchA")->isEnabled());
    EXPECT_EQ(list()->currentRow(), runLines().size() - 1);

    // An LF-only file reads the same.
    testfiles::writeBytes(reportPath, "a\nb\n");
    ASSERT_TRUE(viewer->LoadFile(sJournal, reportPath));
    EXPECT_EQ(viewer->Lines(), QStringList({QStringLiteral("a"), QStringLiteral("b")}));

    // A file that cannot be read is reported and not shown.
    prompts->buttons.push_back(PromptButton::Ok);
    EXPECT_FALSE(viewer->LoadFile(sJournal, dir.filePath(QStringLiteral("Vorrin.rep"))));
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_TRUE(prompts->messages[0].text.startsWith(sReadError));
}

TEST_F(ViewRepTest, FindsDownAndUpAndSaysWhenNotFound)
{
    openReport();
    list()->setCurrentRow(0);
    prompts->findAnswers.push_back(platform::FindRequest{{}, QStringLiteral("DAILY"), true, false});
    tool("TBSearch")->trigger();
    EXPECT_EQ(list()->currentRow(), 2);
    EXPECT_TRUE(tool("TBSearchA")->isEnabled());

    tool("TBSearchA")->trigger();
    EXPECT_EQ(list()->currentRow(), 6);

    // Match case and upwards: the next "Daily" above the summary is the job line.
    prompts->findAnswers.push_back(platform::FindRequest{{}, QStringLiteral("Daily"), false, true});
    tool("TBSearch")->trigger();
    EXPECT_EQ(prompts->finds.back().text, QStringLiteral("DAILY")); // the dialog starts from the last search
    EXPECT_EQ(list()->currentRow(), 2);

    prompts->buttons.push_back(PromptButton::Ok);
    tool("TBSearchA")->trigger();
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_EQ(prompts->messages[0].text, sString1 + QStringLiteral(" \"Daily\" ") + sString2);
    EXPECT_EQ(list()->currentRow(), 2);

    // Up from the first line reports at once.
    list()->setCurrentRow(0);
    prompts->buttons.push_back(PromptButton::Ok);
    tool("TBSearchA")->trigger();
    EXPECT_EQ(prompts->messages.size(), 2u);
    EXPECT_EQ(list()->currentRow(), 0);

    // A cancelled dialog searches nothing.
    prompts->findAnswers.push_back(std::nullopt);
    tool("TBSearch")->trigger();
    EXPECT_EQ(prompts->messages.size(), 2u);
}

TEST_F(ViewRepTest, ClearAsksOnCloseAndSavesOnlyOnYes)
{
    openReport();
    tool("TBClear")->trigger();
    EXPECT_TRUE(viewer->Cleared());
    EXPECT_EQ(list()->count(), 0);
    for (const char *name : {"TBPrint", "TBClear", "TBSearch", "TBSearchA"})
        EXPECT_FALSE(tool(name)->isEnabled()) << name;
    EXPECT_EQ(testfiles::readBytes(reportPath), crLfUtf8(runLines())); // not yet

    prompts->buttons.push_back(PromptButton::Cancel);
    tool("TBClose")->trigger();
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(prompts->messages.back().text, sQuestionSave);
    EXPECT_EQ(prompts->messages.back().title, sReport);

    prompts->buttons.push_back(PromptButton::No);
    tool("TBClose")->trigger();
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_EQ(testfiles::readBytes(reportPath), crLfUtf8(runLines()));

    openReport();
    tool("TBClear")->trigger();
    // The window's own close button asks the same question.
    prompts->buttons.push_back(PromptButton::Yes);
    viewer->close();
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_EQ(prompts->messages.size(), 3u);
    ASSERT_TRUE(QFile::exists(reportPath));
    EXPECT_EQ(testfiles::readBytes(reportPath), QByteArray());
}

TEST_F(ViewRepTest, CloseWithoutClearAsksNothingAndEmptiesTheList)
{
    openReport();
    tool("TBClose")->trigger();
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_TRUE(prompts->messages.empty());
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(testfiles::readBytes(reportPath), crLfUtf8(runLines()));
}

TEST_F(ViewRepTest, SaveFailureAfterClearIsReportedAndKeepsTheFile)
{
    openReport();
    tool("TBClear")->trigger();
    // A folder in the file's place cannot be replaced by the emptied file.
    ASSERT_TRUE(QFile::remove(reportPath));
    ASSERT_TRUE(QDir().mkpath(reportPath + QStringLiteral("/inner")));
    prompts->buttons.push_back(PromptButton::Yes);
    prompts->buttons.push_back(PromptButton::Ok);
    tool("TBClose")->trigger();
    EXPECT_FALSE(viewer->isVisible());
    ASSERT_EQ(prompts->messages.size(), 2u);
    EXPECT_TRUE(prompts->messages[1].text.startsWith(sWriteError));
    EXPECT_TRUE(QFileInfo(reportPath + QStringLiteral("/inner")).isDir());
}

TEST_F(ViewRepTest, PrintsHeaderAndLinesToPdf)
{
    openReport();
    viewer->SetJobFileName(QStringLiteral("/jobs/daily.dat"));
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    viewer->Printer().setOutputFormat(QPrinter::PdfFormat);
    viewer->Printer().setOutputFileName(pdf);
    viewer->Printer().setCopyCount(3);

    // Cancelled dialog: nothing printed, no message.
    prompts->printAnswers.push_back(false);
    EXPECT_FALSE(viewer->BitBtnPrnClick());
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(prompts->messages.empty());

    prompts->printAnswers.push_back(true);
    tool("TBPrint")->trigger();
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(viewer->Printer().copyCount(), 1);
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(sReport + QStringLiteral(" /jobs/daily.dat"))) << text.toStdString();
    EXPECT_TRUE(text.contains(sComputerName + QStringLiteral(": ") + QSysInfo::machineHostName()));
    EXPECT_TRUE(text.contains(QStringLiteral("/data/Ärchiv.zip")));
    EXPECT_TRUE(text.contains(QStringLiteral("Daily - ") + sRes[1]));
}

TEST_F(ViewRepTest, TimerPrintsWithoutDialogAndWrapsLongLines)
{
    const QString pdf = dir.filePath(QStringLiteral("timer.pdf"));
    viewer->Printer().setOutputFormat(QPrinter::PdfFormat);
    viewer->Printer().setOutputFileName(pdf);
    const QString tail = QStringLiteral("ENDOFTHELONGLINE");
    QStringList lines = {QString(300, u'x') + tail};
    for (int i = 0; i < 150; ++i)
        lines << QStringLiteral("line %1").arg(i);
    viewer->SetLines(lines);
    // No prompt is scripted: a dialog would fail the test.
    ASSERT_TRUE(viewer->BitBtnPrnClick(TFormRep::PrintSender::Timer));
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(tail)) << text.toStdString();
    // Long reports go on over several pages, every line printed.
    EXPECT_GE(text.count(u'\f'), 2);
    const QStringList printed = text.split(QRegularExpression(QStringLiteral("[\\n\\f]")));
    for (int i = 0; i < 150; ++i)
        EXPECT_TRUE(printed.contains(QStringLiteral("line %1").arg(i))) << i;
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(ViewRepTest, PrinterThatCannotOpenIsReported)
{
    viewer->SetLines({QStringLiteral("a")});
    viewer->Printer().setOutputFormat(QPrinter::PdfFormat);
    viewer->Printer().setOutputFileName(dir.filePath(QStringLiteral("no/such/folder/r.pdf")));
    EXPECT_FALSE(viewer->BitBtnPrnClick(TFormRep::PrintSender::Timer));
    EXPECT_TRUE(prompts->messages.empty());

    prompts->printAnswers.push_back(true);
    prompts->buttons.push_back(PromptButton::Ok);
    EXPECT_FALSE(viewer->BitBtnPrnClick());
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_TRUE(prompts->messages[0].text.startsWith(sWriteError));
}

TEST_F(ViewRepTest, DrawsBandsHeadersAndIcons)
{
    viewer->SetLines({QStringLiteral("plain zero"), QStringLiteral("plain one"), report::timed(sBeginProcess),
                      QStringLiteral("plain three"), report::Separator});
    viewer->resize(600, 300);
    viewer->show();
    list()->clearSelection();
    list()->setCurrentRow(-1);
    QApplication::processEvents();
    const QImage image = list()->viewport()->grab().toImage();
    const auto pixelAt = [&](int row, int x) {
        const QRect rect = list()->visualRect(list()->model()->index(row, 0));
        return image.pixelColor(x < 0 ? rect.right() + x : rect.left() + x, rect.top() + 1);
    };
    const QColor band(238, 242, 253);
    const QColor base = list()->palette().color(QPalette::Base);
    EXPECT_EQ(pixelAt(0, -5), base);
    EXPECT_EQ(pixelAt(1, -5), band);
    EXPECT_EQ(pixelAt(3, -5), band);
    // The header row runs from light at its top to dark at its bottom, inside its frame.
    const QRect header = list()->visualRect(list()->model()->index(2, 0));
    const QColor top = image.pixelColor(header.right() - 5, header.top() + 1);
    const QColor bottom = image.pixelColor(header.right() - 5, header.bottom() - 1);
    EXPECT_NEAR(top.red(), 0xF6, 8);
    EXPECT_NEAR(top.blue(), 0xFD, 8);
    EXPECT_NEAR(bottom.red(), 0xC9, 8);
    EXPECT_NEAR(bottom.blue(), 0xD9, 8);
    EXPECT_EQ(image.pixelColor(header.right(), header.center().y()), QColor(0x7C, 0x7C, 0x94));

    // Icons: an "other" line has one, the separator none.
    const auto iconColumnHasInk = [&](int row) {
        const QRect rect = list()->visualRect(list()->model()->index(row, 0));
        for (int y = rect.top(); y < rect.top() + ReportLineDelegate::IconSize && y <= rect.bottom(); ++y)
            for (int x = rect.left(); x < rect.left() + ReportLineDelegate::IconSize; ++x)
                if (image.pixelColor(x, y) != base)
                    return true;
        return false;
    };
    EXPECT_TRUE(iconColumnHasInk(0));
    EXPECT_FALSE(iconColumnHasInk(4));

    // A selected odd row shows the selection, not the band.
    list()->setCurrentRow(1);
    QApplication::processEvents();
    const QImage selected = list()->viewport()->grab().toImage();
    const QRect row1 = list()->visualRect(list()->model()->index(1, 0));
    EXPECT_NE(selected.pixelColor(row1.right() - 5, row1.top() + 1), band);
}

TEST_F(ViewRepTest, OverlongLineShowsAsHint)
{
    viewer->resize(500, 300);
    viewer->show();
    viewer->SetLines({QStringLiteral("short"), QString(400, u'w')});
    QApplication::processEvents();
    QWidget *viewport = list()->viewport();
    const auto hintOver = [&](int row) {
        const QRect rect = list()->visualRect(list()->model()->index(row, 0));
        const QPoint at = rect.center();
        QHelpEvent event(QEvent::ToolTip, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(hintOver(0), QString());
    EXPECT_EQ(hintOver(1), QString(400, u'w'));
}

TEST_F(ViewRepTest, ToolsAreLocalisedByTheirNames)
{
    LocalizeForm(viewer.get(),
                 LanguageFile::parse(testfiles::cp1251Lines(
                     {QStringLiteral("[FormRep]"), QStringLiteral("TBPrint=Печать"),
                      QStringLiteral("TBSearchA=Искать далее"), QStringLiteral("TBClose=Закрыть")})));
    EXPECT_EQ(tool("TBPrint")->text(), QStringLiteral("Печать"));
    EXPECT_EQ(tool("TBSearchA")->text(), QStringLiteral("Искать далее"));
    EXPECT_EQ(tool("TBClose")->text(), QStringLiteral("Закрыть"));
    EXPECT_EQ(tool("TBClear")->text(), QStringLiteral("Clear"));
}
