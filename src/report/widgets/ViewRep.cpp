#include "ViewRep.h"

#include "platform/VersionBlock.h"
#include "report/ReportFind.h"
#include "report/ReportPrintHeader.h"
#include "report/ReportText.h"
#include "report/widgets/ReportLineDelegate.h"
#include "report/widgets/ReportLineHint.h"
#include "report/widgets/ReportPrinter.h"
#include "shared/ConstStr.h"
#include "shared/ZentavoExt.h"
#include "shared/ZetuUnit.h"
#include "shared/widgets/LocalizeForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QListWidget>
#include <QPrinter>
#include <QStyle>
#include <QSysInfo>
#include <QToolBar>
#include <QVBoxLayout>

namespace zentavo {

namespace {

QAction *AddTool(QToolBar *bar, const QString &name, const QString &caption, const QString &themeIcon,
                 QStyle::StandardPixmap fallback)
{
    QAction *action = bar->addAction(QIcon::fromTheme(themeIcon, bar->style()->standardIcon(fallback)), caption);
    action->setObjectName(name);
    return action;
}

} // namespace

TFormRep::TFormRep(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_printer(std::make_unique<QPrinter>())
{
    setObjectName(QStringLiteral("FormRep"));
    setMinimumSize(400, 290);
    resize(640, 440);

    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    TBPrint = AddTool(ToolBar, QStringLiteral("TBPrint"), QStringLiteral("Print"), QStringLiteral("document-print"),
                      QStyle::SP_FileDialogDetailedView);
    TBClear = AddTool(ToolBar, QStringLiteral("TBClear"), QStringLiteral("Clear"), QStringLiteral("edit-clear"),
                      QStyle::SP_TrashIcon);
    ToolBar->addSeparator();
    TBSearch = AddTool(ToolBar, QStringLiteral("TBSearch"), QStringLiteral("Find"), QStringLiteral("edit-find"),
                       QStyle::SP_FileDialogContentsView);
    TBSearchA = AddTool(ToolBar, QStringLiteral("TBSearchA"), QStringLiteral("Search again"), QStringLiteral("go-next"),
                        QStyle::SP_ArrowForward);
    ToolBar->addSeparator();
    TBClose = AddTool(ToolBar, QStringLiteral("TBClose"), QStringLiteral("Close"), QStringLiteral("window-close"),
                      QStyle::SP_DialogCloseButton);

    ListBoxRep = new QListWidget(this);
    ListBoxRep->setObjectName(QStringLiteral("ListBoxRep"));
    ListBoxRep->setUniformItemSizes(true);
    ListBoxRep->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBoxRep->setItemDelegate(new ReportLineDelegate(ListBoxRep));
    ReportLineHint::install(ListBoxRep);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(ToolBar);
    layout->addWidget(ListBoxRep);

    connect(TBPrint, &QAction::triggered, this, [this] { BitBtnPrnClick(); });
    connect(TBClear, &QAction::triggered, this, &TFormRep::BitBtnClearClick);
    connect(TBSearch, &QAction::triggered, this, &TFormRep::BitBtnFindClick);
    connect(TBSearchA, &QAction::triggered, this, &TFormRep::FindDialogFind);
    connect(TBClose, &QAction::triggered, this, &TFormRep::BitBtnExitClick);

    FormCreate();
}

TFormRep::~TFormRep() = default;

void TFormRep::FormCreate()
{
    LocalizeForm(this);
    EnableLineTools(false);
    TBSearchA->setEnabled(false);
}

bool TFormRep::LoadFile(const QString &caption, const QString &fileName)
{
    setWindowTitle(caption);
    m_fileName = fileName;
    const std::optional<QStringList> lines = report::ReadReportText(fileName);
    if (!lines) {
        platform::prompter().message(
            {caption, sReadError + u' ' + fileName, platform::PromptIcon::Error, platform::PromptButton::Ok, {}});
        return false;
    }
    SetLines(*lines);
    TBSearchA->setEnabled(false);
    m_find = {};
    m_cleared = false;
    return true;
}

QStringList TFormRep::Lines() const
{
    QStringList lines;
    lines.reserve(ListBoxRep->count());
    for (int row = 0; row < ListBoxRep->count(); ++row)
        lines << ListBoxRep->item(row)->text();
    return lines;
}

void TFormRep::SetLines(const QStringList &lines)
{
    ListBoxRep->clear();
    ListBoxRep->addItems(lines);
    EnableLineTools(!lines.isEmpty());
}

void TFormRep::EnableLineTools(bool hasLines)
{
    TBClear->setEnabled(hasLines);
    TBPrint->setEnabled(hasLines);
    TBSearch->setEnabled(hasLines);
}

bool TFormRep::BitBtnPrnClick(PrintSender sender)
{
    const QString header = report::ReportPrintHeader(platform::VersionBlock::ofRunningProgram(), windowTitle(),
                                                     m_jobFileName, QSysInfo::machineHostName());
    m_printer->setCopyCount(1);
    if (sender == PrintSender::User && !platform::prompter().printSetup(*m_printer))
        return false;
    m_printer->setDocName(GetProductName() + QStringLiteral(": ") + windowTitle());
    if (PrintReport(*m_printer, header, Lines()))
        return true;
    // Unattended printing must not stop the end of a run with a box; its
    // caller reports the failure.
    if (sender == PrintSender::User) {
        const QString target
            = m_printer->outputFileName().isEmpty() ? m_printer->printerName() : m_printer->outputFileName();
        platform::prompter().message(
            {windowTitle(), sWriteError + u' ' + target, platform::PromptIcon::Error, platform::PromptButton::Ok, {}});
    }
    return false;
}

void TFormRep::BitBtnFindClick()
{
    platform::FindRequest request = m_find;
    request.title = DeleteAmpersand(TBSearch->text());
    const std::optional<platform::FindRequest> answer = platform::prompter().find(request);
    if (!answer)
        return;
    m_find = *answer;
    FindDialogFind();
}

void TFormRep::FindDialogFind()
{
    TBSearchA->setEnabled(true);
    const int found
        = report::FindReportLine(Lines(), ListBoxRep->currentRow(), {m_find.text, m_find.down, m_find.matchCase});
    if (found < 0) {
        const QString text = sString1 + QStringLiteral(" \"") + m_find.text + QStringLiteral("\" ") + sString2;
        platform::prompter().message(
            {QApplication::applicationDisplayName(), text, platform::PromptIcon::None, platform::PromptButton::Ok, {}});
        return;
    }
    ListBoxRep->setCurrentRow(found);
    ListBoxRep->setFocus();
}

void TFormRep::BitBtnClearClick()
{
    ListBoxRep->clear();
    m_cleared = true;
    EnableLineTools(false);
    TBSearchA->setEnabled(false);
}

void TFormRep::BitBtnExitClick()
{
    if (m_cleared) {
        const platform::PromptButton answer = platform::prompter().message(
            {windowTitle(),
             sQuestionSave,
             platform::PromptIcon::Question,
             platform::PromptButton::Yes | platform::PromptButton::No | platform::PromptButton::Cancel,
             {}});
        if (answer == platform::PromptButton::Cancel)
            return;
        if (answer == platform::PromptButton::Yes)
            SaveClearedFile();
    }
    done(QDialog::Rejected);
}

void TFormRep::SaveClearedFile()
{
    // Written through a temporary file: the old lines stay unless the empty
    // file is complete.
    if (!report::WriteReportText(m_fileName, Lines())) {
        platform::prompter().message({windowTitle(),
                                      sWriteError + u' ' + m_fileName,
                                      platform::PromptIcon::Error,
                                      platform::PromptButton::Ok,
                                      {}});
    }
}

void TFormRep::done(int result)
{
    // Each opening starts from the file again.
    ListBoxRep->clear();
    QDialog::done(result);
}

void TFormRep::reject()
{
    BitBtnExitClick();
}

void TFormRep::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (ListBoxRep->count() > 0)
        ListBoxRep->setCurrentRow(ListBoxRep->count() - 1);
    ListBoxRep->setFocus();
}

void TFormRep::closeEvent(QCloseEvent *event)
{
    // The window's close button asks like the Close tool, so a cleared
    // list is never dropped without the question.
    event->ignore();
    BitBtnExitClick();
}

} // namespace zentavo
