#pragma once

#include <QFlags>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QContextMenuEvent;
class QKeyEvent;
class QMenu;
class QMouseEvent;
class QWidget;

namespace help {

class THelpContextMap;

// Context help for every control of the application: F1 on the focused
// control, a "What's this?" mode (Shift+F1 or its check action) in which the
// next click on a control shows that control's popup, a right-click (or the
// menu key) "What's this?" menu, and F1 or a click in that mode on a menu
// item. It asks the application's help (the help router) for popups and
// topics. One component is current in the process at a time; it watches the
// application's input while it is activated.
class TWhatsThis final : public QObject {
    Q_OBJECT
public:
    enum class TF1Action { goContext, goDefault, goTOC };
    enum TWhatsThisOption {
        wtDirectHelp = 0x01,         // a right-click or the menu key shows help at once
        wtMenuRightClick = 0x02,     // a right-click on a menu item shows its help
        wtNoContextHelp = 0x04,      // help is asked for even without a context
        wtNoContextMenu = 0x08,      // the menu opens even without a context
        wtPopupOnForm = 0x10,        // a window itself may get the menu
        wtInheritFormContext = 0x20, // a window's own context counts for its controls
        wtUseTag = 0x40,             // a control's "Tag" property is its last resort
        wtUseAppKey = 0x80,          // the menu key opens the menu
    };
    Q_DECLARE_FLAGS(TWhatsThisOptions, TWhatsThisOption)
    enum TMode { Idle = 0, MenuRequest = 1, ContextMode = 3 };

    explicit TWhatsThis(QObject *owner = nullptr);
    ~TWhatsThis() override;

    // Whether it should work; it starts working once Loaded() was called.
    bool Active() const { return m_active; }
    void SetActive(bool active);
    bool Activated() const { return m_activated; }
    // The owner's setup is done: activates it when Active.
    void Loaded();

    const THelpContextMap *HelpContextMap = nullptr;
    TF1Action F1Action = TF1Action::goContext;
    TWhatsThisOptions Options = {wtMenuRightClick, wtNoContextHelp, wtNoContextMenu, wtInheritFormContext};
    QString PopupCaption = QStringLiteral("What's this?");
    int PopupHelpContext = 0;

    // The checkable action (menu item and tool button) that toggles the mode;
    // it gets the shortcut Shift+F1. Throws EHelpError while activated.
    QAction *WTAction() const { return m_wtAction; }
    void SetWTAction(QAction *action);

    // Throw EHelpError when not activated.
    void EnterContextMode();
    void LeaveContextMode();
    // Asks help for the control or menu item of the current request.
    bool ShowContextHelp(const QPoint &screenPoint);

    int Mode() const { return m_mode; }
    // The "What's this?" menu. It belongs to the component; an application
    // that ends before the component (one that owns it, or a test that never
    // quits) takes the menu with it while widgets can still be destroyed, so
    // it is null then.
    QMenu *PopupMenu() const { return m_popupMenu.get(); }
    static TWhatsThis *Current();

    std::function<void(QObject *helpItem, bool isMenu, int &context, const QPoint &point)> OnGetContext;
    std::function<void(QObject *helpItem, bool isMenu, int context, const QPoint &point, bool &callHelp)> OnHelp;
    std::function<void(QObject *helpItem, int context, const QPoint &point, bool &doPopup)> OnPopup;
    std::function<void(bool &callHelp)> OnF1KeyDown;

    // The control's context from the help context map: 0 without a map or
    // with a map that names no map file.
    int FindControlContext(const QWidget *form, const QObject *item) const;

signals:
    void EnteredContextMode();
    void LeftContextMode();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Run by the application's destructor, before it tears its widgets down.
    static void applicationEnds();
    void activate();
    void deactivate();
    void toggleContextMode();
    void setWTState(bool on);
    void notActive() const;
    bool keyPressed(QWidget *receiver, QKeyEvent *event);
    bool contextMenuAsked(QWidget *receiver, QContextMenuEvent *event);
    void notePress(QWidget *receiver, const QMouseEvent *event);
    void noteDrag(QWidget *receiver, const QMouseEvent *event);
    bool mousePressed(QWidget *receiver, QMouseEvent *event);
    // Leaves the mode and, once the click is over, asks help for what
    // chooseItem made the target (false: it is gone).
    void leaveForHelp(const QPoint &point, std::function<bool()> chooseItem);
    bool menuMouseReleased(QMenu *menu, QMouseEvent *event);
    int menuItemContext() const;
    int controlContext() const;
    int contextOf(const QObject *item, const QWidget *form) const;
    bool isWTButton(const QWidget *widget) const;
    void askHelp(QObject *item, bool isMenu, int context, const QPoint &point, bool callHelp);
    void popupItemClick();

    bool m_active = true;
    bool m_activated = false;
    bool m_loaded = false;
    bool m_cursorSet = false;
    bool m_swallowRelease = false;
    int m_mode = Idle;
    bool m_inMenu = false;
    // Where the last press was, and the menu it (or a drag from it) reached.
    QPoint m_pressPoint;
    QPointer<QMenu> m_clickedMenu;
    QPointer<QAction> m_wtAction;
    QMetaObject::Connection m_wtConnection;
    QPointer<QWidget> m_target;
    QPointer<QAction> m_selectedItem;
    // The request kept while the "What's this?" menu is shown.
    QPointer<QWidget> m_popupTarget;
    int m_popupContext = 0;
    QPoint m_popupPoint;
    QPointer<TWhatsThis> m_previous;
    std::unique_ptr<QMenu> m_popupMenu;
};

// A control's (or menu item's) own help context: its "HelpContext" property.
void SetHelpContext(QObject *item, int context);
int HelpContextOf(const QObject *item);

} // namespace help

Q_DECLARE_OPERATORS_FOR_FLAGS(help::TWhatsThis::TWhatsThisOptions)
