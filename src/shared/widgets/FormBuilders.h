#pragma once

#include <QString>
#include <QStringList>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// Small makers for the controls of the suite's forms. Every control gets its
// component name as objectName, which is what the language file localises
// and what tests find it by.
namespace zentavo::forms {

template <class Widget>
Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption);
QRadioButton *radioButton(QWidget *parent, const char *name, const QString &caption);
QPushButton *pushButton(QWidget *parent, const char *name, const QString &caption);
QLabel *label(QWidget *parent, const char *name, const QString &caption);
QLineEdit *lineEdit(QWidget *parent, const char *name);
QGroupBox *groupBox(QWidget *parent, const char *name, const QString &caption);
QComboBox *comboBox(QWidget *parent, const char *name, const QStringList &items);

// "prefix" followed by the index: the names of controls made in a row.
QString indexedName(const char *prefix, int index);

// Week-day boxes, Sunday first as the days digits count them, added to the
// layout in that order.
std::array<QCheckBox *, 7> dayBoxes(QWidget *parent, const char *prefix, QLayout *layout);

// A path edit with its "Browse..." button to the right, laid out in the
// parent, which is usually the group box that names the path.
struct PathRow {
    QLineEdit *edit;
    QPushButton *browse;
};
PathRow pathRow(QWidget *parent, const char *editName, const char *buttonName);

} // namespace zentavo::forms
