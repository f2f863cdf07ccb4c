#include "LocalizeForm.h"

#include "shared/ConstStr.h"
#include "shared/LanguageFile.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

namespace zentavo {

namespace {

// A page of a tab widget sits in the tab widget's internal stack.
QTabWidget *tabWidgetOfPage(QWidget *page)
{
    QWidget *stack = page->parentWidget();
    auto *tabs = qobject_cast<QTabWidget *>(stack ? stack->parentWidget() : nullptr);
    return tabs && tabs->indexOf(page) >= 0 ? tabs : nullptr;
}

class FormTranslator {
public:
    FormTranslator(const LanguageFile &file, QStringView section) : m_file(file), m_section(section) {}

    void translateComponent(QObject *component) const
    {
        const QString key = component->objectName();
        if (key.isEmpty())
            return;
        const auto read = [&](const QString &current) { return m_file.read(m_section, key, current); };

        auto *button = qobject_cast<QPushButton *>(component);
        // Qt shows every tooltip that is set, so a picture button that shows
        // no hint has none, and its caption is translated instead.
        if (button && !button->icon().isNull() && !button->toolTip().isEmpty()) {
            button->setToolTip(read(button->toolTip()));
        } else if (auto *toolButton = qobject_cast<QToolButton *>(component)) {
            toolButton->setToolTip(read(toolButton->toolTip()));
        } else if (auto *statusBar = qobject_cast<QStatusBar *>(component)) {
            statusBar->setToolTip(read(statusBar->toolTip()));
        } else if (auto *comboBox = qobject_cast<QComboBox *>(component)) {
            for (int item = 0; item < comboBox->count(); ++item) {
                const QString itemKey = key + QStringLiteral(".Items") + QString::number(item + 1);
                comboBox->setItemText(item, m_file.read(m_section, itemKey, comboBox->itemText(item)));
            }
        } else if (auto *grid = qobject_cast<QTableWidget *>(component)) {
            for (int column = 0; column < grid->columnCount(); ++column) {
                if (QTableWidgetItem *header = grid->horizontalHeaderItem(column)) {
                    const QString columnKey = key + QStringLiteral(".Columns") + QString::number(column + 1);
                    header->setText(m_file.read(m_section, columnKey, header->text()));
                }
            }
        } else if (!translateCaption(component, key)) {
            auto *page = qobject_cast<QWidget *>(component);
            if (QTabWidget *tabs = page ? tabWidgetOfPage(page) : nullptr) {
                const int index = tabs->indexOf(page);
                tabs->setTabText(index, read(tabs->tabText(index)));
            }
        }
    }

    // Menus, actions, labels, group boxes and buttons have a caption; false
    // for any other component.
    bool translateCaption(QObject *component, QStringView key) const
    {
        const auto read = [&](const QString &current) { return m_file.read(m_section, key, current); };
        if (auto *menu = qobject_cast<QMenu *>(component))
            menu->setTitle(read(menu->title()));
        else if (auto *action = qobject_cast<QAction *>(component))
            action->setText(read(action->text()));
        else if (auto *label = qobject_cast<QLabel *>(component))
            label->setText(read(label->text()));
        else if (auto *groupBox = qobject_cast<QGroupBox *>(component))
            groupBox->setTitle(read(groupBox->title()));
        else if (auto *button = qobject_cast<QAbstractButton *>(component))
            button->setText(read(button->text()));
        else
            return false;
        return true;
    }

private:
    const LanguageFile &m_file;
    QStringView m_section;
};

void translateNamedCaptions(QWidget *form, const LanguageFile &file, QStringView section, const QStringList &names)
{
    const FormTranslator translator(file, section);
    for (const QString &name : names) {
        if (QObject *component = form->findChild<QObject *>(name))
            translator.translateCaption(component, name);
    }
}

} // namespace

void LocalizeForm(QWidget *form, const LanguageFile &file)
{
    const QString section = form->objectName();
    if (!section.isEmpty()) {
        form->setWindowTitle(file.read(section, section, form->windowTitle()));
        const FormTranslator translator(file, section);
        for (QObject *component : form->findChildren<QObject *>())
            translator.translateComponent(component);
    }

    translateNamedCaptions(form, file, u"Common",
                           {QStringLiteral("ButtonBrowse"), QStringLiteral("ButtonCancel"), QStringLiteral("ButtonOk"),
                            QStringLiteral("ButtonHelp")});
    QStringList dayBoxes;
    for (int day = 0; day < 7; ++day)
        dayBoxes << QStringLiteral("DayOfWeek") + QString::number(day);
    translateNamedCaptions(form, file, u"DaysOfWeek", dayBoxes);
}

void LocalizeForm(QWidget *form)
{
    LocalizeForm(form, LanguageFile::load(LanguageFilePath()));
}

} // namespace zentavo
