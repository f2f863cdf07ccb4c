#include "VorrinUnit.h"

#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/RegistryKey.h"
#include "platform/widgets/DialogRunner.h"
#include "report/ReportFile.h"
#include "report/widgets/ViewRep.h"
#include "settings/PortNumber.h"
#include "settings/widgets/SetTime.h"
#include "shared/ConstStr.h"
#include "shared/SuiteMessages.h"
#include "shared/ZetuUnit.h"
#include "shared/widgets/FormBuilders.h"
#include "shared/widgets/LocalizeForm.h"

#include <QShortcut>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zentavo {

using namespace forms;

namespace {

// The first control of a page that takes the focus by Tab.
QWidget *firstFocusable(QWidget *page)
{
    for (QWidget *widget : page->findChildren<QWidget *>()) {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && widget->isVisibleTo(page))
            return widget;
    }
    return page;
}

} // namespace

TFormVorrin::TFormVorrin(QWidget *parent, const VorrinLoadContext &context)
    : TFormVorrin(LoadVorrinSettings(context), parent, context)
{
}

TFormVorrin::TFormVorrin(const VorrinSettings &settings, QWidget *parent, VorrinLoadContext context)
    : QDialog(parent)
    , m_context(std::move(context))
{
    setObjectName(QStringLiteral("FormVorrin"));
    PageControl = named(new QTabWidget(this), "PageControl");
    buildSchedulePage();
    buildOptionsPage();
    buildArchivePage();
    buildMailPage();
    buildReportPage();
    LabelAbout = label(this, "LabelAbout", QString());
    ButtonOk = pushButton(this, "ButtonOk", QStringLiteral("Ok"));
    ButtonOk->setDefault(true);
    ButtonCancel = pushButton(this, "ButtonCancel", QStringLiteral("Cancel"));
    ButtonUse = pushButton(this, "ButtonUse", QStringLiteral("Apply"));
    ButtonUse->setEnabled(false);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(LabelAbout, 1);
    bottom->addWidget(ButtonOk);
    bottom->addWidget(ButtonCancel);
    bottom->addWidget(ButtonUse);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);
    layout->addLayout(bottom);

    FormSetTime = new TFormSetTime(this);
    FormRep = new TFormRep(this);
    // Modal to this dialog alone: the scheduler's icon goes on taking clicks
    // while one of them is open, as it does while this dialog is.
    for (QDialog *dialog : std::initializer_list<QDialog *>{FormSetTime, FormRep})
        dialog->setWindowModality(Qt::WindowModal);
    Msg.Charset = QStringLiteral("windows-1251");
    SMTP.setObjectName(QStringLiteral("SMTP"));
    SMTP.Handshaking = smtpmail::hsManual;

    connectEnableRules();
    connectButtons();
    Edit(settings);
}

void TFormVorrin::connectEnableRules()
{
    for (QAbstractButton *button : std::initializer_list<QAbstractButton *>{
             CheckBoxPause, CheckBoxMenu, CheckBoxTime, CheckBoxAClose, CheckBoxAPrint, CheckBoxASend, CheckBoxAPower,
             CheckBoxRep, CheckBoxRepSize, CheckBoxRun, CheckBoxRunSize, CheckBoxInfoPath, RadioButtonRPath,
             RadioButtonFPath, CheckBoxAuth, RadioButtonRunPC, RadioButtonEDay, RadioButtonEWeek, RadioButtonEMonth})
        connect(button, &QAbstractButton::clicked, this, &TFormVorrin::ApplyEnableRules);
    connect(RadioButtonArcNew, &QAbstractButton::clicked, this, &TFormVorrin::RadioButtonArcNewClick);
    connect(RadioButtonArcAdd, &QAbstractButton::clicked, this, &TFormVorrin::RadioButtonArcNewClick);
    connect(ListBoxTimes, &QListWidget::itemSelectionChanged, this, &TFormVorrin::ApplyEnableRules);

    // Only what the user does makes Apply available: clicks and typing, not
    // the changes the load makes in code. The authentication box only
    // enables its fields.
    for (QAbstractButton *button : PageControl->findChildren<QAbstractButton *>()) {
        if (button->isCheckable() && button != CheckBoxAuth)
            connect(button, &QAbstractButton::clicked, this, &TFormVorrin::EnableButUse);
    }
    for (QLineEdit *edit : PageControl->findChildren<QLineEdit *>())
        connect(edit, &QLineEdit::textEdited, this, &TFormVorrin::EnableButUse);
    for (QComboBox *combo : PageControl->findChildren<QComboBox *>())
        connect(combo, &QComboBox::activated, this, &TFormVorrin::EnableButUse);
}

void TFormVorrin::connectButtons()
{
    connect(ButtonOk, &QPushButton::clicked, this, &TFormVorrin::ButtonOkClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonUse, &QPushButton::clicked, this, &TFormVorrin::ButtonUseClick);
    connect(BitBtnAdd, &QPushButton::clicked, this, &TFormVorrin::BitBtnAddClick);
    connect(BitBtnEdit, &QPushButton::clicked, this, &TFormVorrin::BitBtnEditClick);
    connect(ListBoxTimes, &QListWidget::itemDoubleClicked, this, &TFormVorrin::BitBtnEditClick);
    connect(BitBtnDel, &QPushButton::clicked, this, &TFormVorrin::BitBtnDelClick);
    connect(ButtonBrowse, &QPushButton::clicked, this, &TFormVorrin::ButtonBrowseClick);
    connect(ButtonRepDir, &QPushButton::clicked, this, [this] { ButtonRepDirClick(ButtonRepDir); });
    connect(ButtonRunDir, &QPushButton::clicked, this, [this] { ButtonRepDirClick(ButtonRunDir); });
    connect(ButtonTemp, &QPushButton::clicked, this, &TFormVorrin::ButtonTempClick);
    connect(ButtonRep, &QPushButton::clicked, this, &TFormVorrin::ButtonRepClick);
    connect(ButtonRun, &QPushButton::clicked, this, &TFormVorrin::ButtonRunClick);
    connect(BitBtnTest, &QPushButton::clicked, this, &TFormVorrin::BitBtnTestClick);
    // Tab turns the page wherever the focus is; Shift+Tab still moves it.
    // Enter (the default button Ok) and Esc (reject) are the dialog's own.
    connect(new QShortcut(QKeySequence(Qt::Key_Tab), this), &QShortcut::activated, this, &TFormVorrin::SelectNextPage);
}

void TFormVorrin::FormCreate(QObject *)
{
    Edit(LoadVorrinSettings(m_context, m_settings));
}

void TFormVorrin::Edit(const VorrinSettings &settings)
{
    LocalizeForm(this);
    copySharedCaptions();
    PageControl->setTabText(OptionsPage, m_context.productTitle);
    LabelAbout->setText(AboutText(m_context.mainProgram));
    m_settings = settings;
    showControls(m_settings.Controls);
    showCopies();
    ApplyEnableRules();
    ButtonUse->setEnabled(false);
}

bool TFormVorrin::SaveSettings()
{
    TVorrinControls input = controls();
    const VorrinFault fault = ValidateVorrinSettings(input);
    EditTime->setText(input.EditTime);
    if (fault != VorrinFault::None) {
        showFault(fault);
        return false;
    }
    VorrinSettings edited{input, m_settings.Copies};
    QString why;
    if (!SaveVorrinSettings(edited, &why)) {
        platform::prompter().message({windowTitle(),
                                      sWriteError + u'\n' + platform::registryFileName() + u'\n' + why,
                                      platform::PromptIcon::Error,
                                      platform::PromptButton::Ok,
                                      {}});
        return false;
    }
    m_settings = edited;
    emit settingsSaved(m_settings);
    PostVorrinUpdate();
    return true;
}

void TFormVorrin::RadioButtonArcNewClick()
{
    if (RadioButtonArcAdd->isChecked())
        ComboBoxVol->setCurrentIndex(0);
    ApplyEnableRules();
}

void TFormVorrin::done(int result)
{
    // A test mail still waiting ends here, with its message.
    SMTP.AbortSession();
    FormCreate(this);
    QDialog::done(result);
}

void TFormVorrin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ButtonUse->setEnabled(false);
}

void TFormVorrin::SelectNextPage()
{
    PageControl->setCurrentIndex((PageControl->currentIndex() + 1) % PageControl->count());
    firstFocusable(PageControl->currentWidget())->setFocus(Qt::TabFocusReason);
}

void TFormVorrin::ButtonOkClick()
{
    if (SaveSettings())
        accept();
}

void TFormVorrin::ButtonUseClick()
{
    if (SaveSettings())
        ButtonUse->setEnabled(false);
}

void TFormVorrin::EnableButUse()
{
    ButtonUse->setEnabled(true);
}

void TFormVorrin::BitBtnAddClick()
{
    FormSetTime->SetTime(0, 0);
    if (platform::runDialog(*FormSetTime) != QDialog::Accepted)
        return;
    // Sorted, after the equal entries: "HH:MM" sorts as text.
    const QString entry = FormSetTime->TimeText();
    int row = 0;
    while (row < ListBoxTimes->count() && ListBoxTimes->item(row)->text() <= entry)
        ++row;
    ListBoxTimes->insertItem(row, entry);
    EnableButUse();
}

void TFormVorrin::BitBtnEditClick()
{
    const QList<QListWidgetItem *> selected = ListBoxTimes->selectedItems();
    if (selected.isEmpty() || !ListBoxTimes->isEnabled())
        return;
    QListWidgetItem *item = selected.first();
    const QString text = item->text();
    FormSetTime->SetTime(text.mid(0, 2).toInt(), text.mid(3, 2).toInt());
    if (platform::runDialog(*FormSetTime) != QDialog::Accepted)
        return;
    item->setText(FormSetTime->TimeText());
    EnableButUse();
}

void TFormVorrin::BitBtnDelClick()
{
    const QList<QListWidgetItem *> selected = ListBoxTimes->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = ListBoxTimes->row(selected.first());
    const std::unique_ptr<QListWidgetItem> removed(ListBoxTimes->takeItem(row));
    if (ListBoxTimes->count() > 0)
        ListBoxTimes->setCurrentRow(std::min(row, ListBoxTimes->count() - 1));
    ApplyEnableRules();
    EnableButUse();
}

void TFormVorrin::ButtonBrowseClick()
{
    platform::FileRequest request;
    request.title = DeleteAmpersand(GroupBoxFJob->title());
    request.folder = platform::folderPart(EditFJob->text());
    request.fileName = EditFJob->text();
    request.filter = JobFileFilter();
    request.defaultSuffix = QStringLiteral("dat");
    const std::optional<QString> chosen = platform::prompter().fileName(request);
    if (!chosen)
        return;
    EditFJob->setText(*chosen);
    EnableButUse();
}

void TFormVorrin::ButtonRepDirClick(QPushButton *button)
{
    QString &hint = button == ButtonRepDir ? m_settings.Copies.ButtonRepDirHint : m_settings.Copies.ButtonRunDirHint;
    QString folder = hint;
    if (!SelectFolder(sReport + u'\n' + DeleteAmpersand(button->text()), QString(), folder))
        return;
    hint = platform::withTrailingSeparator(folder);
    showCopies();
    EnableButUse();
}

void TFormVorrin::ButtonTempClick()
{
    QString folder = EditTemp->text();
    if (!SelectFolder(DeleteAmpersand(GroupBoxTemp->title()), QString(), folder))
        return;
    EditTemp->setText(platform::withTrailingSeparator(folder));
    EnableButUse();
}

void TFormVorrin::ButtonRepClick()
{
    ShowReport(sReport, platform::fileInFolder(m_settings.Copies.ButtonRepDirHint, ReportFile::FileName));
}

void TFormVorrin::ButtonRunClick()
{
    ShowReport(sJournal, platform::fileInFolder(m_settings.Copies.ButtonRunDirHint, JournalFileName));
}

void TFormVorrin::ShowReport(const QString &caption, const QString &fileName)
{
    if (FormRep->LoadFile(caption, fileName))
        platform::runDialog(*FormRep);
}

} // namespace zentavo
