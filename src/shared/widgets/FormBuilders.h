#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>
#include <QStyle>

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

// A standard icon of the style for a tool button or menu item, with a
// greyed pixmap for its disabled state at every size the style offers: some
// styles draw a few standard icons the same whether enabled or not, so a
// disabled command would look usable.
QIcon commandIcon(const QStyle *style, QStyle::StandardPixmap which);

// Gives a window the single border of a fixed-size form: a title with the
// system menu, minimise and close, no maximise, and a size that follows its
// contents instead of the user's dragging. Call it after the window's
// controls and layout exist.
void singleBorder(QWidget *window);

} // namespace zentavo::forms
