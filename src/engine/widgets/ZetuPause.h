#pragma once

#include "engine/ZentavoSettings.h"
#include "shared/ZentavoExt.h"

#include <QDateTime>
#include <QDialog>

#include <optional>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace zentavo {

// The start dialog before a run: the jobs to run as a check list (the job
// menu) or, during a pause, fixed; an optional countdown from the moment
// the run was asked for starts the run by itself.
class TFormPause final : public QDialog {
    Q_OBJECT
public:
    // ownerCaption titles the question on cancel.
    TFormPause(QWidget *owner, const QString &ownerCaption);
    ~TFormPause() override;

    // Lines of the check list: the jobs' titles, checked when enabled. With
    // choosable False the list is shown fixed.
    void SetJobs(const TBlocks &blocks, bool choosable);
    // The check state of each line.
    std::vector<bool> Checked() const;
    // Starts the 100 ms timer; minutes counted from `from`, nullopt without a countdown.
    void StartTimer(std::optional<int> minutes, const QDateTime &from);
    // One tick of the timer: Start enabled while a job is checked, the time
    // left shown, and the run started once the countdown is over and the
    // dialog is shown.
    void TimerTimer();

    QListWidget *CheckListBox = nullptr;
    QPushButton *ButtonRun = nullptr;
    QPushButton *ButtonCancel = nullptr;
    QLabel *LabelTime = nullptr;

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void ButtonRunClick();
    // The dialog's close message: only a Yes to the question closes it.
    void WMClose();

    QLabel *LabelAutoRun = nullptr;
    QTimer *Timer = nullptr;
    QString m_ownerCaption;
    std::optional<int> m_minutes;
    QDateTime m_countFrom;
};

// Before a run: shows the job menu or the pause as the settings ask. False
// when the user cancelled. The job menu's check states become the jobs'
// enabled flags, after Cancel too. The countdown counts from requestedAt,
// when the run was asked for, not from the dialog's appearance.
bool ChooseJobs(QWidget *owner, const QString &ownerCaption, TBlocks &blocks, const ZentavoSettings &settings,
                const QDateTime &requestedAt);

} // namespace zentavo
