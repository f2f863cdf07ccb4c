#pragma once

#include "settings/VorrinStore.h"

#include <QWidget>

#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace platform {
class InstanceLock;
class MessageWindow;
} // namespace platform

namespace zentavo {

class NotificationAreaWait;
class TFormRep;
class TFormVorrin;
class TScheduler;

// The scheduler's window: never shown itself, it is the icon in the
// notification area with its menu, the schedule timer, and the address
// "TrayFormVorrin" through which the other programs reach the scheduler.
// It owns the scheduler, which holds the settings, the settings dialog that
// edits them and the report viewer. Where the desktop has no notification
// area the scheduler runs on without an icon and still answers its messages.
class TTrayForm final : public QWidget {
    Q_OBJECT

public:
    // Holds the single-instance guard for as long as it lives.
    explicit TTrayForm(std::unique_ptr<platform::InstanceLock> instance);
    ~TTrayForm() override;

    TFormVorrin &FormVorrin() { return *m_formVorrin; }
    TFormRep &FormRep() { return *m_formRep; }
    TScheduler &Scheduler() { return *m_scheduler; }
    QMenu &PopupMenu() { return *TrayPopupMenu; }
    QTimer &ScheduleTimer() { return *Timer; }
    // Reads the settings afresh from the store into the scheduler and the
    // settings dialog, which drops the dialog's unsaved edits.
    void ReloadSettings();
    // True when the address "TrayFormVorrin" could be taken.
    bool Reachable() const;
    // True once Exit was chosen or asked for; also before the message loop
    // runs, when it could not end that loop yet.
    bool Exiting() const { return m_exiting; }
    // Where no notification area is there to show the icon: gives one a
    // short while to appear and then says so once; the icon appears as soon
    // as one does.
    void WatchNotificationArea();
    NotificationAreaWait &AreaWait() { return *m_areaWait; }

    // The settings dialog, or the main program's settings dialog named in a
    // message; one settings dialog at a time across the suite. The commands
    // that open a modal window (this one, the viewer, About) bring the
    // scheduler's open modal window to the front instead of opening another.
    void OpenItemClick();
    void RunItemClick();
    void EditItemClick();
    void TheZentavoItemClick();
    void ReportItemClick();
    void JournalItemClick();
    // The product's web page in the desktop's browser, without waiting.
    void UpdateItemClick();
    void HelpItemClick();
    void AboutItemClick();
    // Stops the timer and the messages, then ends the program.
    void ExitItemClick();

    // A message of another program ("WM_UpdateVorrin", "WM_RunZentavo",
    // "WM_ServiceVorrin").
    void MessageReceived(const QString &name, quint64 wParam);

private:
    void createMenu();
    void AddTrayIcon();
    void showFile(const QString &caption, const QString &fileName);

    std::unique_ptr<platform::InstanceLock> m_instance;
    const VorrinLoadContext m_context = VorrinLoadContext::current();
    std::unique_ptr<TFormVorrin> m_formVorrin;
    std::unique_ptr<TFormRep> m_formRep;
    std::unique_ptr<TScheduler> m_scheduler;
    std::unique_ptr<platform::MessageWindow> m_messages;
    QMenu *TrayPopupMenu = nullptr;
    QAction *OpenItem = nullptr;
    QAction *RunItem = nullptr;
    QAction *EditItem = nullptr;
    QAction *TheZentavoItem = nullptr;
    QAction *ReportItem = nullptr;
    QAction *JournalItem = nullptr;
    QAction *UpdateItem = nullptr;
    QAction *HelpItem = nullptr;
    QAction *AboutItem = nullptr;
    QAction *ExitItem = nullptr;
    QTimer *Timer = nullptr;
    QSystemTrayIcon *TrayIcon = nullptr;
    NotificationAreaWait *m_areaWait = nullptr;
    bool m_exiting = false;
};

} // namespace zentavo
