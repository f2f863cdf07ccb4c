#include "shared/widgets/LocalizeForm.h"

#include "TestFiles.h"
#include "shared/LanguageFile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include "WidgetTest.h"

#include <gtest/gtest.h>

#include <memory>

using zentavo::LocalizeForm;

namespace {

class LocalizeFormTest : public WidgetTest {
protected:
    template <typename T>
    T *add(const char *name)
    {
        auto *component = new T(&form); // owned by the form
        component->setObjectName(QString::fromLatin1(name));
        return component;
    }

    static QIcon someIcon()
    {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::red);
        return QIcon(pixmap);
    }

    QWidget form;
};

const LanguageFile russian = LanguageFile::parse(testfiles::cp1251Lines({
    QStringLiteral("[formvorrin]"),
    QStringLiteral("FormVorrin=Настройки"),
    QStringLiteral("LabelHost=Сервер:"),
    QStringLiteral("BitBtnTest=Проверить почту"),
    QStringLiteral("BitBtnAdd=Добавить"),
    QStringLiteral("CheckBoxRep=Вести отчет"),
    QStringLiteral("GroupBoxRep=Отчет"),
    QStringLiteral("TBPrint=Печать"),
    QStringLiteral("TabSheetVorrin=Расписание"),
    QStringLiteral("RadioButtonEDay=Ежедневно"),
    QStringLiteral("ComboBoxVol.Items1=Без ограничения"),
    QStringLiteral("ComboBoxVol.Items3=Свой"),
    QStringLiteral("StringGridArch.Columns1=Файлы/Папки"),
    QStringLiteral("StringGridArch.Columns3=Примечание"),
    QStringLiteral("StatusBar=Состояние"),
    QStringLiteral("MenuFile=&Файл"),
    QStringLiteral("MenuExit=В&ыход"),
    QStringLiteral("ButtonOk=Принять"),
    QStringLiteral("[Common]"),
    QStringLiteral("ButtonOk=ОК"),
    QStringLiteral("ButtonCancel=Отмена"),
    QStringLiteral("[DaysOfWeek]"),
    QStringLiteral("DayOfWeek1=Понедельник"),
    QStringLiteral("DOFW1=Пн"),
}));

} // namespace

TEST_F(LocalizeFormTest, TranslatesComponentsByName)
{
    form.setObjectName(QStringLiteral("FormVorrin"));
    form.setWindowTitle(QStringLiteral("Options"));
    auto *label = add<QLabel>("LabelHost");
    auto *untouched = add<QLabel>("LabelPort");
    untouched->setText(QStringLiteral("Port:"));
    auto *hinted = add<QPushButton>("BitBtnTest");
    hinted->setIcon(someIcon());
    hinted->setText(QStringLiteral("Test"));
    hinted->setToolTip(QStringLiteral("Send a test mail"));
    auto *unhinted = add<QPushButton>("BitBtnAdd");
    unhinted->setIcon(someIcon());
    unhinted->setText(QStringLiteral("Add"));
    auto *check = add<QCheckBox>("CheckBoxRep");
    auto *group = add<QGroupBox>("GroupBoxRep");
    auto *tool = add<QToolButton>("TBPrint");
    tool->setText(QStringLiteral("P"));
    tool->setToolTip(QStringLiteral("Print"));
    auto *tabs = add<QTabWidget>("PageControl");
    auto *page = new QWidget; // owned by the tab widget once added
    page->setObjectName(QStringLiteral("TabSheetVorrin"));
    tabs->addTab(page, QStringLiteral("Schedule"));
    auto *radio = add<QRadioButton>("RadioButtonEDay");
    auto *combo = add<QComboBox>("ComboBoxVol");
    combo->addItems({QStringLiteral("No limit"), QStringLiteral("1.44 MB"), QStringLiteral("Other")});
    auto *grid = add<QTableWidget>("StringGridArch");
    grid->setColumnCount(3);
    grid->setHorizontalHeaderLabels(
        {QStringLiteral("Files/Folders"), QStringLiteral("Exclusions"), QStringLiteral("Note")});
    auto *status = add<QStatusBar>("StatusBar");
    auto *menu = add<QMenu>("MenuFile");
    menu->setTitle(QStringLiteral("&File"));
    auto *exit = add<QAction>("MenuExit");
    exit->setText(QStringLiteral("E&xit"));
    menu->addAction(exit);
    auto *ok = add<QPushButton>("ButtonOk");
    auto *monday = add<QCheckBox>("DayOfWeek1");
    monday->setText(QStringLiteral("Monday"));
    auto *sunday = add<QCheckBox>("DayOfWeek0");
    sunday->setText(QStringLiteral("Sunday"));

    LocalizeForm(&form, russian);

    EXPECT_EQ(form.windowTitle(), QStringLiteral("Настройки"));
    EXPECT_EQ(label->text(), QStringLiteral("Сервер:"));
    EXPECT_EQ(untouched->text(), QStringLiteral("Port:"));
    EXPECT_EQ(hinted->toolTip(), QStringLiteral("Проверить почту"));
    EXPECT_EQ(hinted->text(), QStringLiteral("Test"));
    EXPECT_EQ(unhinted->text(), QStringLiteral("Добавить"));
    EXPECT_EQ(check->text(), QStringLiteral("Вести отчет"));
    EXPECT_EQ(group->title(), QStringLiteral("Отчет"));
    EXPECT_EQ(tool->toolTip(), QStringLiteral("Печать"));
    EXPECT_EQ(tool->text(), QStringLiteral("P"));
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Расписание"));
    EXPECT_EQ(radio->text(), QStringLiteral("Ежедневно"));
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Без ограничения"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("1.44 MB"));
    EXPECT_EQ(combo->itemText(2), QStringLiteral("Свой"));
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QStringLiteral("Файлы/Папки"));
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Exclusions"));
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), QStringLiteral("Примечание"));
    EXPECT_EQ(status->toolTip(), QStringLiteral("Состояние"));
    EXPECT_EQ(menu->title(), QStringLiteral("&Файл"));
    EXPECT_EQ(exit->text(), QStringLiteral("В&ыход"));
    // The shared sections come last and win over the form's own section.
    EXPECT_EQ(ok->text(), QStringLiteral("ОК"));
    EXPECT_EQ(monday->text(), QStringLiteral("Понедельник"));
    EXPECT_EQ(sunday->text(), QStringLiteral("Sunday"));

    // Translating again, as the settings dialog does after a reload, changes nothing.
    LocalizeForm(&form, russian);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Настройки"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("1.44 MB"));
}

TEST_F(LocalizeFormTest, FormOfAnotherNameTakesOnlyTheSharedSections)
{
    form.setObjectName(QStringLiteral("FormRep"));
    form.setWindowTitle(QStringLiteral("Report"));
    auto *label = add<QLabel>("LabelHost");
    label->setText(QStringLiteral("Host:"));
    auto *cancel = add<QPushButton>("ButtonCancel");
    cancel->setText(QStringLiteral("Cancel"));

    LocalizeForm(&form, russian);

    EXPECT_EQ(form.windowTitle(), QStringLiteral("Report"));
    EXPECT_EQ(label->text(), QStringLiteral("Host:"));
    EXPECT_EQ(cancel->text(), QStringLiteral("Отмена"));
}

TEST_F(LocalizeFormTest, EmptyValueEmptiesTheCaption)
{
    form.setObjectName(QStringLiteral("FormPause"));
    auto *label = add<QLabel>("LabelTime");
    label->setText(QStringLiteral("Time"));
    LocalizeForm(&form, LanguageFile::parse("[FormPause]\r\nLabelTime=\r\n"));
    EXPECT_EQ(label->text(), QString());
}
