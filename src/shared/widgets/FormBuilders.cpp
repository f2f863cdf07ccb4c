#include "FormBuilders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>

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
    static const std::array<QString, 7> captions
        = {QStringLiteral("Su"), QStringLiteral("Mo"), QStringLiteral("Tu"), QStringLiteral("We"),
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

QIcon commandIcon(const QStyle *style, QStyle::StandardPixmap which)
{
    QIcon icon = style->standardIcon(which);
    QStyleOption option;
    const QList<QSize> sizes
        = icon.availableSizes().isEmpty() ? QList<QSize>{QSize(16, 16), QSize(24, 24)} : icon.availableSizes();
    for (const QSize &size : sizes) {
        const QPixmap grey = style->generatedIconPixmap(QIcon::Disabled, icon.pixmap(size), &option);
        // Greyed and faded: a grey that is still dark reads as enabled.
        QPixmap faded(grey.size());
        faded.fill(Qt::transparent);
        QPainter painter(&faded);
        painter.setOpacity(0.4);
        painter.drawPixmap(0, 0, grey);
        painter.end();
        icon.addPixmap(faded, QIcon::Disabled);
    }
    return icon;
}

void singleBorder(QWidget *window)
{
    const bool dialog = window->windowType() == Qt::Dialog;
    window->setWindowFlags((dialog ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    if (QLayout *layout = window->layout())
        layout->setSizeConstraint(QLayout::SetFixedSize);
    else
        window->setFixedSize(window->sizeHint());
}

} // namespace zentavo::forms
