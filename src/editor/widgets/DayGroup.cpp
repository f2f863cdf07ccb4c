#include "DayGroup.h"

#include "editor/PageTexts.h"
#include "shared/widgets/FormBuilders.h"

#include <QCheckBox>
#include <QGridLayout>

namespace pelvo {

DayGroup::DayGroup(QWidget *parent, const char *name, const char *prefix, const char *everyDayName)
    : QGroupBox(QStringLiteral("Run in the specified days"), parent)
{
    setObjectName(QLatin1String(name));
    static const std::array<const char *, 7> captions{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                      "Thursday", "Friday", "Saturday"};
    auto *layout = new QGridLayout(this);
    for (int day = 0; day < 7; ++day) {
        DayOfWeek[std::size_t(day)] = new QCheckBox(QLatin1String(captions[std::size_t(day)]), this);
        DayOfWeek[std::size_t(day)]->setObjectName(zentavo::forms::indexedName(prefix, day));
        // Monday first, Sunday last, in two columns.
        const int place = (day + 6) % 7;
        layout->addWidget(DayOfWeek[std::size_t(day)], place % 4, place / 4);
        connect(DayOfWeek[std::size_t(day)], &QCheckBox::clicked, this, &DayGroup::changed);
    }
    EveryDay = zentavo::forms::checkBox(this, everyDayName, QStringLiteral("Every day"));
    layout->addWidget(EveryDay, 3, 1);
    connect(EveryDay, &QCheckBox::clicked, this, [this] {
        SetUsable(true);
        emit changed();
    });
}

void DayGroup::ShowDays(const QString &days)
{
    for (QCheckBox *box : DayOfWeek)
        box->setChecked(false);
    for (const QChar digit : days) {
        const int day = digit.unicode() - u'0';
        if (day >= 0 && day < 7)
            DayOfWeek[std::size_t(day)]->setChecked(true);
    }
    EveryDay->setChecked(days.isEmpty());
}

QString DayGroup::Days() const
{
    if (EveryDay->isChecked())
        return {};
    std::array<bool, 7> checked{};
    for (int day = 0; day < 7; ++day)
        checked[std::size_t(day)] = DayOfWeek[std::size_t(day)]->isChecked();
    return DaysOf(checked);
}

void DayGroup::SetUsable(bool usable)
{
    if (!usable) {
        for (QCheckBox *box : DayOfWeek)
            box->setChecked(false);
        EveryDay->setChecked(false);
    }
    EveryDay->setEnabled(usable);
    for (QCheckBox *box : DayOfWeek)
        box->setEnabled(usable && !EveryDay->isChecked());
}

} // namespace pelvo
