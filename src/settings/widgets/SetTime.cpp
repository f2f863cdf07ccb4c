#include "SetTime.h"

#include "shared/widgets/FormBuilders.h"
#include "shared/widgets/LocalizeForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zentavo {

using namespace forms;

namespace {

// Shows its value with two digits, as the time is written.
class TwoDigitSpinBox final : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    using QSpinBox::lineEdit;

protected:
    QString textFromValue(int value) const override { return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0')); }
};

TwoDigitSpinBox *spinEdit(QWidget *parent, const char *name, int maximum, int value)
{
    TwoDigitSpinBox *spin = named(new TwoDigitSpinBox(parent), name);
    spin->setRange(0, maximum);
    spin->setValue(value);
    spin->setWrapping(true);
    return spin;
}

} // namespace

QString TimeEntry(int hour, int minute)
{
    return QStringLiteral("%1:%2").arg(hour, 2, 10, QChar(u'0')).arg(minute, 2, 10, QChar(u'0'));
}

TFormSetTime::TFormSetTime(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSetTime"));
    setWindowTitle(QStringLiteral("Time of start"));
    QLabel *caption = label(this, "Label1", QStringLiteral("Time (HH:MM)"));
    TwoDigitSpinBox *hour = spinEdit(this, "SpinEditHour", 23, 23);
    TwoDigitSpinBox *minute = spinEdit(this, "SpinEditMin", 59, 0);
    SpinEditHour = hour;
    SpinEditMin = minute;
    ButtonOk = pushButton(this, "ButtonOk", QStringLiteral("Ok"));
    ButtonCancel = pushButton(this, "ButtonCancel", QStringLiteral("Cancel"));
    ButtonOk->setDefault(true);

    auto *fields = new QHBoxLayout;
    fields->addWidget(SpinEditHour);
    fields->addWidget(label(this, "LabelColon", QStringLiteral(":")));
    fields->addWidget(SpinEditMin);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOk);
    buttons->addWidget(ButtonCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Wide enough for the title bar to show the whole title.
    caption->setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 120);

    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    // The spin boxes report only valid values; their edits report every text.
    for (TwoDigitSpinBox *spin : {hour, minute})
        connect(spin->lineEdit(), &QLineEdit::textChanged, this, &TFormSetTime::SpinEditHourChange);
    LocalizeForm(this);
}

void TFormSetTime::SetTime(int hour, int minute)
{
    SpinEditHour->setValue(hour);
    SpinEditMin->setValue(minute);
    SpinEditHourChange();
}

void TFormSetTime::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Typing replaces the hour shown.
    SpinEditHour->setFocus();
    SpinEditHour->selectAll();
}

QString TFormSetTime::TimeText() const
{
    return TimeEntry(SpinEditHour->value(), SpinEditMin->value());
}

void TFormSetTime::SpinEditHourChange()
{
    const auto holdsNumber = [](const QSpinBox *spin) {
        bool ok = false;
        const int value = spin->cleanText().toInt(&ok);
        return ok && value >= spin->minimum() && value <= spin->maximum();
    };
    ButtonOk->setEnabled(holdsNumber(SpinEditHour) && holdsNumber(SpinEditMin));
}

} // namespace zentavo
