#include "FormBuilders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace zentavo::forms {

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QCheckBox(caption, parent), name);
}

QRadioButton *radioButton(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QRadioButton(caption, parent), name);
}

QPushButton *pushButton(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QPushButton(caption, parent), name);
}

QLabel *label(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QLabel(caption, parent), name);
}

QLineEdit *lineEdit(QWidget *parent, const char *name)
{
    return named(new QLineEdit(parent), name);
}

QGroupBox *groupBox(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QGroupBox(caption, parent), name);
}

QComboBox *comboBox(QWidget *parent, const char *name, const QStringList &items)
{
    QComboBox *combo = named(new QComboBox(parent), name);
    combo->addItems(items);
    return combo;
}

QString indexedName(const char *prefix, int index)
{
    return QLatin1String(prefix) + QString::number(index);
}

std::array<QCheckBox *, 7> dayBoxes(QWidget *parent, const char *prefix, QLayout *layout)
{
    static const std::array<QString, 7> captions = {
        QStringLiteral("Su"), QStringLiteral("Mo"), QStringLiteral("Tu"), QStringLiteral("We"),
        QStringLiteral("Th"), QStringLiteral("Fr"), QStringLiteral("Sa")};
    std::array<QCheckBox *, 7> boxes{};
    for (int day = 0; day < 7; ++day) {
        boxes[day] = new QCheckBox(captions[day], parent);
        boxes[day]->setObjectName(indexedName(prefix, day));
        layout->addWidget(boxes[day]);
    }
    return boxes;
}

PathRow pathRow(QWidget *parent, const char *editName, const char *buttonName)
{
    PathRow row{lineEdit(parent, editName), pushButton(parent, buttonName, QStringLiteral("Browse..."))};
    auto *layout = new QHBoxLayout(parent);
    layout->addWidget(row.edit);
    layout->addWidget(row.browse);
    return row;
}

} // namespace zentavo::forms
