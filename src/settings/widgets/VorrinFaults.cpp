// What the dialog tells the user about input the save refused, and where
// it takes them to mend it.
#include "settings/widgets/VorrinUnit.h"

#include "platform/Prompter.h"
#include "shared/ConstStr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace zentavo {

namespace {

QString portMessage(const QString &port)
{
    return QStringLiteral("Port \"%1\": enter a port number from 1 to 65535").arg(port);
}

} // namespace

void TFormVorrin::showFault(VorrinFault fault)
{
    QString caption;
    QString text = sEnterInt;
    Page page = ReportPage;
    QWidget *field = nullptr;
    switch (fault) {
    case VorrinFault::None: return;
    case VorrinFault::TimeNotNumber:
        caption = sTimeWaiting;
        page = OptionsPage;
        field = EditTime;
        break;
    case VorrinFault::ReportSizeNotNumber:
        caption = sSizeReport;
        field = EditRepSize;
        break;
    case VorrinFault::JournalSizeNotNumber:
        caption = sSizeJournal;
        field = EditRunSize;
        break;
    case VorrinFault::NoWeekDay:
    case VorrinFault::NoMonthDay: {
        QRadioButton *mode = fault == VorrinFault::NoWeekDay ? RadioButtonEWeek : RadioButtonEMonth;
        caption = PageControl->tabText(SchedulePage);
        text = sField1 + DeleteAmpersand(mode->text()) + sField2;
        page = SchedulePage;
        field = fault == VorrinFault::NoWeekDay ? static_cast<QWidget *>(DayOfWeek[0]) : BitBtn[0];
        break;
    }
    case VorrinFault::VolumeNotNumber:
        caption = DeleteAmpersand(GroupBoxVol->title());
        text = DeleteAmpersand(LabelVol->text());
        page = ArchivePage;
        field = ComboBoxVol;
        break;
    case VorrinFault::PortNotNumber:
        caption = DeleteAmpersand(GroupBoxServer->title());
        text = portMessage(EditPort->text());
        page = MailPage;
        field = EditPort;
        break;
    }
    platform::prompter().message({caption, text, platform::PromptIcon::Warning, platform::PromptButton::Ok, {}});
    PageControl->setCurrentIndex(page);
    if (field->isEnabled())
        field->setFocus();
}

} // namespace zentavo
