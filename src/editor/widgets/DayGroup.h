#pragma once

#include <QGroupBox>

#include <array>

class QCheckBox;

namespace pelvo {

// "Run in the specified days": the seven week days, Monday first, and
// "Every day", which disables the seven.
class DayGroup final : public QGroupBox {
    Q_OBJECT
public:
    // The boxes are named prefix + digit (0 Sunday) and everyDayName.
    DayGroup(QWidget *parent, const char *name, const char *prefix, const char *everyDayName);

    // Checks the boxes of the days digits, or "Every day" when empty; other
    // characters check nothing. Fires no change.
    void ShowDays(const QString &days);
    // The digits of the checked days, ascending; empty for "Every day".
    QString Days() const;
    // Enables the boxes (the seven only while "Every day" is unchecked), or
    // unchecks and disables them all.
    void SetUsable(bool usable);

    std::array<QCheckBox *, 7> DayOfWeek{}; // index: the days digit
    QCheckBox *EveryDay = nullptr;

signals:
    // The user checked or unchecked a box.
    void changed();
};

} // namespace pelvo
