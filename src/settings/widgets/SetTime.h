#pragma once

#include <QDialog>
#include <QString>

class QPushButton;
class QSpinBox;

namespace zentavo {

// The small dialog that asks for one start time of the schedule.
class TFormSetTime final : public QDialog {
    Q_OBJECT
public:
    explicit TFormSetTime(QWidget *parent = nullptr);

    void SetTime(int hour, int minute);
    // The time as the start times list shows it: "07:05".
    QString TimeText() const;

    QSpinBox *SpinEditHour;
    QSpinBox *SpinEditMin;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Ok only while both fields hold a time.
    void SpinEditHourChange();
};

// "HH:MM" with two digits each.
QString TimeEntry(int hour, int minute);

} // namespace zentavo
