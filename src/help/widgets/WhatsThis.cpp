#include "WhatsThis.h"

#include "help/HelpCommands.h"
#include "help/HelpContextMap.h"
#include "help/HelpError.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

namespace help {

namespace {

const char *const HelpContextProperty = "HelpContext";

QPointer<TWhatsThis> &current()
{
    static QPointer<TWhatsThis> component;
    return component;
}

// Every component alive, whose menu the end of the application takes.
QList<TWhatsThis *> &components()
{
    static QList<TWhatsThis *> all;
    return all;
}

// The window a control or menu belongs to; menus are windows of their own
// but belong to the window of their menu bar or parent menu.
QWidget *formOf(QWidget *widget)
{
    while (widget != nullptr && !(widget->isWindow() && qobject_cast<QMenu *>(widget) == nullptr))
        widget = widget->parentWidget();
    return widget;
}

// A scroll area's viewport hands its events to the area: the area is the
// control.
QWidget *controlOf(QWidget *receiver)
{
    auto *area = qobject_cast<QAbstractScrollArea *>(receiver->parentWidget());
    return area != nullptr && area->viewport() == receiver ? area : receiver;
}

// Controls that offer a menu of their own on a right-click keep it; so do
// those that leave the click to their parent, which decides then.
bool hasOwnContextMenu(const QWidget *widget)
{
    if (widget->contextMenuPolicy() != Qt::DefaultContextMenu)
        return true;
    if (qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget)
        || qobject_cast<const QScrollBar *>(widget))
        return true;
    if (const auto *combo = qobject_cast<const QComboBox *>(widget))
        return combo->isEditable();
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->textInteractionFlags().testFlag(Qt::TextSelectableByMouse);
    // Text views receive their events in their viewport.
    for (const QWidget *w = widget; w != nullptr; w = w->parentWidget()) {
        if (qobject_cast<const QTextEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w))
            return true;
        if (w->isWindow())
            break;
    }
    return false;
}

// The menu or menu bar that shows the action; a menu's item hangs under
// the menu's own item.
QWidget *shownIn(const QAction *action)
{
    for (QObject *object : action->associatedObjects()) {
        if (qobject_cast<QMenu *>(object) != nullptr || qobject_cast<QMenuBar *>(object) != nullptr)
            return static_cast<QWidget *>(object);
    }
    return nullptr;
}

void closeMenus()
{
    while (QWidget *popup = QApplication::activePopupWidget()) {
        if (!popup->close())
            break;
    }
}

// F1 in a message box that offers Help does what its Help button does.
bool clickHelpButton(QWidget *target)
{
    auto *box = qobject_cast<QMessageBox *>(formOf(target));
    if (box == nullptr)
        return false;
    for (QAbstractButton *button : box->buttons()) {
        if (box->buttonRole(button) == QMessageBox::HelpRole) {
            button->click();
            return true;
        }
    }
    return false;
}

QPoint centreOf(const QWidget *widget)
{
    return widget->mapToGlobal(widget->rect().center());
}

} // namespace

void SetHelpContext(QObject *item, int context)
{
    item->setProperty(HelpContextProperty, context);
}

int HelpContextOf(const QObject *item)
{
    return item->property(HelpContextProperty).toInt();
}

TWhatsThis::TWhatsThis(QObject *owner) : QObject(owner), m_popupMenu(std::make_unique<QMenu>())
{
    setObjectName(QStringLiteral("WhatsThis"));
    m_popupMenu->setObjectName(QStringLiteral("WhatsThisMenu"));
    components().append(this);
    // Once for each application, whichever component comes first.
    qRemovePostRoutine(&TWhatsThis::applicationEnds);
    qAddPostRoutine(&TWhatsThis::applicationEnds);
}

void TWhatsThis::applicationEnds()
{
    for (TWhatsThis *component : components())
        component->m_popupMenu.reset();
}

TWhatsThis::~TWhatsThis()
{
    components().removeOne(this);
    if (m_activated)
        deactivate();
    if (current() == this || current().isNull()) {
        current() = m_previous;
        if (m_previous && m_previous->Active() && m_previous->m_loaded)
            m_previous->activate();
    }
}

TWhatsThis *TWhatsThis::Current()
{
    return current();
}

void TWhatsThis::Loaded()
{
    m_popupMenu->clear();
    QAction *item = m_popupMenu->addAction(PopupCaption);
    SetHelpContext(item, PopupHelpContext);
    connect(item, &QAction::triggered, this, &TWhatsThis::popupItemClick);
    m_loaded = true;
    if (m_active && !m_activated)
        activate();
}

void TWhatsThis::SetActive(bool active)
{
    m_active = active;
    if (m_loaded && active != m_activated) {
        if (active)
            activate();
        else
            deactivate();
    }
}

void TWhatsThis::activate()
{
    TWhatsThis *other = current();
    if (other != nullptr && other != this && other->m_activated) {
        other->deactivate();
        m_previous = other;
    }
    m_mode = Idle;
    m_inMenu = false;
    current() = this;
    QCoreApplication::instance()->installEventFilter(this);
    if (m_wtAction)
        m_wtConnection = connect(m_wtAction, &QAction::triggered, this, &TWhatsThis::toggleContextMode);
    m_activated = true;
}

void TWhatsThis::deactivate()
{
    if (m_mode == ContextMode)
        LeaveContextMode();
    disconnect(m_wtConnection);
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeEventFilter(this);
    m_activated = false;
}

void TWhatsThis::SetWTAction(QAction *action)
{
    if (m_activated)
        throw EHelpError(QStringLiteral("TWhatsThis must be deactivated to change this property"));
    if (m_wtAction)
        m_wtAction->setShortcut({});
    m_wtAction = action;
    if (action != nullptr) {
        action->setCheckable(true);
        action->setChecked(false);
        action->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    }
}

void TWhatsThis::toggleContextMode()
{
    if (!m_activated)
        return;
    if (m_mode == ContextMode)
        LeaveContextMode();
    else
        EnterContextMode();
}

void TWhatsThis::notActive() const
{
    throw EHelpError(objectName() + QStringLiteral(" is currently not active."));
}

void TWhatsThis::EnterContextMode()
{
    if (!m_activated)
        notActive();
    m_mode = ContextMode;
    if (!m_cursorSet) {
        QApplication::setOverrideCursor(Qt::WhatsThisCursor);
        m_cursorSet = true;
    }
    setWTState(true);
    emit EnteredContextMode();
}

void TWhatsThis::LeaveContextMode()
{
    if (!m_activated)
        notActive();
    m_mode = Idle;
    if (m_cursorSet) {
        QApplication::restoreOverrideCursor();
        m_cursorSet = false;
    }
    setWTState(false);
    emit LeftContextMode();
}

void TWhatsThis::setWTState(bool on)
{
    if (m_wtAction)
        m_wtAction->setChecked(on);
}

bool TWhatsThis::isWTButton(const QWidget *widget) const
{
    const auto *button = qobject_cast<const QToolButton *>(widget);
    return button != nullptr && m_wtAction && button->defaultAction() == m_wtAction;
}

bool TWhatsThis::eventFilter(QObject *watched, QEvent *event)
{
    auto *receiver = qobject_cast<QWidget *>(watched);
    if (receiver == nullptr || !m_activated)
        return false;
    // A fault in finding help must never take the input away.
    try {
        switch (event->type()) {
        case QEvent::KeyPress: return keyPressed(receiver, static_cast<QKeyEvent *>(event));
        case QEvent::ContextMenu: return contextMenuAsked(receiver, static_cast<QContextMenuEvent *>(event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            notePress(receiver, static_cast<QMouseEvent *>(event));
            return mousePressed(receiver, static_cast<QMouseEvent *>(event));
        case QEvent::MouseMove: noteDrag(receiver, static_cast<QMouseEvent *>(event)); return false;
        case QEvent::MouseButtonRelease:
            if (auto *menu = qobject_cast<QMenu *>(receiver)) {
                // A release whose press opened the menu elsewhere (the
                // right-click that opened it) is no click on its items.
                const bool clickedHere = m_clickedMenu == menu;
                m_clickedMenu = nullptr;
                return clickedHere && menuMouseReleased(menu, static_cast<QMouseEvent *>(event));
            }
            if (m_swallowRelease) {
                m_swallowRelease = false;
                return true;
            }
            return false;
        default: return false;
        }
    } catch (...) {
        return false;
    }
}

bool TWhatsThis::keyPressed(QWidget *receiver, QKeyEvent *event)
{
    if (event->isAutoRepeat())
        return false;
    if (m_mode == ContextMode)
        LeaveContextMode();
    if (event->key() != Qt::Key_F1)
        return false;
    m_mode = Idle;
    auto *menu = qobject_cast<QMenu *>(receiver);
    m_inMenu = menu != nullptr;
    // In a menu without a highlighted item the menu itself is asked about.
    m_selectedItem = menu == nullptr ? nullptr : menu->activeAction() ? menu->activeAction() : menu->menuAction();
    m_target = menu != nullptr ? nullptr : QApplication::focusWidget() ? QApplication::focusWidget() : receiver;
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    bool callHelp = true;
    if (!shift && OnF1KeyDown)
        OnF1KeyDown(callHelp);
    if (callHelp && !shift && !m_inMenu && clickHelpButton(m_target)) {
        m_target = nullptr;
        return true;
    }
    if (callHelp) {
        if (shift) {
            EnterContextMode();
        } else if (m_inMenu || F1Action == TF1Action::goContext) {
            ShowContextHelp(m_inMenu || !m_target ? QCursor::pos() : m_target->mapToGlobal(QPoint(0, 0)));
        } else {
            ApplicationHelpCommand(F1Action == TF1Action::goDefault ? HELP_CONTENTS : HELP_TAB, 0);
        }
    }
    m_inMenu = false;
    return true;
}

void TWhatsThis::notePress(QWidget *receiver, const QMouseEvent *event)
{
    m_pressPoint = event->globalPosition().toPoint();
    m_clickedMenu = qobject_cast<QMenu *>(receiver);
}

void TWhatsThis::noteDrag(QWidget *receiver, const QMouseEvent *event)
{
    // As in the menus themselves: a button held and dragged onto a menu
    // makes its release a click there.
    auto *menu = qobject_cast<QMenu *>(receiver);
    if (menu != nullptr && event->buttons() != Qt::NoButton
        && (event->globalPosition().toPoint() - m_pressPoint).manhattanLength() >= QApplication::startDragDistance())
        m_clickedMenu = menu;
}

bool TWhatsThis::contextMenuAsked(QWidget *receiver, QContextMenuEvent *event)
{
    if (qobject_cast<QMenu *>(receiver) != nullptr || (m_mode != Idle && m_mode != ContextMode))
        return false;
    // A control that opened a menu of its own on the press keeps it.
    if (QApplication::activePopupWidget() != nullptr)
        return false;
    QWidget *target = nullptr;
    QPoint point;
    if (event->reason() == QContextMenuEvent::Keyboard) {
        if (!Options.testFlag(wtUseAppKey) || m_mode == ContextMode)
            return false;
        target = QApplication::focusWidget() ? QApplication::focusWidget() : receiver;
        point = centreOf(target);
    } else {
        target = controlOf(receiver);
        point = event->globalPos();
        if (m_mode == ContextMode) {
            if (!isWTButton(target))
                return false;
            LeaveContextMode();
        }
    }
    if (hasOwnContextMenu(receiver) || hasOwnContextMenu(target))
        return false;
    m_mode = MenuRequest;
    m_target = target;
    m_inMenu = false;
    const bool shown = ShowContextHelp(point);
    m_mode = Idle;
    return shown;
}

bool TWhatsThis::mousePressed(QWidget *receiver, QMouseEvent *event)
{
    if (m_mode != ContextMode || event->button() != Qt::LeftButton)
        return false;
    // Menus open and work as usual in the mode: their items answer on release.
    if (qobject_cast<QMenu *>(receiver) != nullptr)
        return false;
    const QPoint point = event->globalPosition().toPoint();
    if (auto *bar = qobject_cast<QMenuBar *>(receiver)) {
        // A command on the bar itself is an item like those in its menus.
        QAction *command = bar->actionAt(event->position().toPoint());
        if (command == nullptr || command->menu() != nullptr || command->isSeparator())
            return false;
        leaveForHelp(point, [this, command = QPointer<QAction>(command)] {
            if (!command)
                return false;
            m_selectedItem = command;
            m_inMenu = true;
            return true;
        });
        return true;
    }
    // The first to see the click is the control under it, disabled or not.
    QWidget *target = receiver;
    // The mode's own button leaves the mode by its action.
    if (isWTButton(target))
        return false;
    leaveForHelp(point, [this, target = QPointer<QWidget>(target)] {
        if (!target)
            return false;
        m_target = target;
        m_inMenu = false;
        return true;
    });
    return true;
}

void TWhatsThis::leaveForHelp(const QPoint &point, std::function<bool()> chooseItem)
{
    LeaveContextMode();
    m_swallowRelease = true;
    // After the click's own handling, as the click ends.
    QTimer::singleShot(0, this, [this, point, chooseItem = std::move(chooseItem)] {
        if (chooseItem())
            ShowContextHelp(point);
        m_inMenu = false;
    });
}

bool TWhatsThis::menuMouseReleased(QMenu *menu, QMouseEvent *event)
{
    QAction *item = menu->actionAt(event->position().toPoint());
    const bool contextClick = m_mode == ContextMode && event->button() == Qt::LeftButton;
    const bool rightClick
        = event->button() == Qt::RightButton && (Options.testFlag(wtMenuRightClick) || m_mode == ContextMode);
    if (item == nullptr || item->isSeparator() || item->menu() != nullptr || (!contextClick && !rightClick))
        return false;
    if (item == m_wtAction)
        return false;
    if (m_mode == ContextMode)
        LeaveContextMode();
    m_selectedItem = item;
    m_inMenu = true;
    ShowContextHelp(event->globalPosition().toPoint());
    m_inMenu = false;
    m_mode = Idle;
    return true;
}

bool TWhatsThis::ShowContextHelp(const QPoint &screenPoint)
{
    int context = 0;
    QObject *helpItem = nullptr;
    if (m_inMenu) {
        closeMenus();
        if (!m_selectedItem)
            return false;
        helpItem = m_selectedItem;
        context = menuItemContext();
    } else {
        if (!m_target || (m_mode == MenuRequest && m_target->isWindow() && !Options.testFlag(wtPopupOnForm)))
            return false;
        helpItem = m_target;
        context = controlContext();
    }
    if (OnGetContext)
        OnGetContext(helpItem, m_inMenu, context, screenPoint);

    bool shown = context != 0;
    if (!shown) {
        shown = (m_mode != MenuRequest || Options.testFlag(wtDirectHelp)) ? Options.testFlag(wtNoContextHelp)
                                                                          : Options.testFlag(wtNoContextMenu);
    }
    if (shown) {
        if (m_mode != MenuRequest || Options.testFlag(wtDirectHelp)) {
            askHelp(helpItem, m_inMenu, context, screenPoint, true);
        } else if (!m_target->isWindow() || Options.testFlag(wtPopupOnForm)) {
            bool doPopup = shown;
            if (OnPopup)
                OnPopup(helpItem, context, screenPoint, doPopup);
            if (doPopup) {
                m_popupTarget = m_target;
                m_popupContext = context;
                m_popupPoint = screenPoint;
                m_popupMenu->popup(screenPoint);
            }
        }
    }
    m_target = nullptr;
    return shown;
}

void TWhatsThis::askHelp(QObject *item, bool isMenu, int context, const QPoint &point, bool callHelp)
{
    if (OnHelp)
        OnHelp(item, isMenu, context, point, callHelp);
    if (!callHelp)
        return;
    if (context < 0) {
        ApplicationHelpCommand(HELP_CONTEXT, -qint64(context));
        return;
    }
    if (point.x() != 0 && point.y() != 0)
        ApplicationHelpCommand(HELP_SETPOPUP_POS, PackPopupPoint(point.x(), point.y()));
    ApplicationHelpCommand(HELP_CONTEXTPOPUP, context);
}

void TWhatsThis::popupItemClick()
{
    m_mode = Idle;
    askHelp(m_popupTarget, false, m_popupContext, m_popupPoint, true);
}

int TWhatsThis::menuItemContext() const
{
    // The item, then the items it hangs under, until one has a context.
    QAction *item = m_selectedItem;
    for (int depth = 0; item != nullptr && depth < 32; ++depth) {
        QWidget *shownBy = shownIn(item);
        QWidget *form = shownBy != nullptr ? formOf(shownBy) : nullptr;
        if (const int context = contextOf(item, form))
            return context;
        // A menu's own item is named by its menu.
        if (item->menu() != nullptr) {
            if (const int context = contextOf(item->menu(), form))
                return context;
        }
        auto *menu = qobject_cast<QMenu *>(shownBy);
        item = menu != nullptr ? menu->menuAction() : nullptr;
    }
    return 0;
}

int TWhatsThis::controlContext() const
{
    QWidget *form = formOf(m_target);
    for (QWidget *control = m_target; control != nullptr; control = control->parentWidget()) {
        const bool isForm = control == form;
        if (!isForm || Options.testFlag(wtInheritFormContext)) {
            if (const int context = contextOf(control, form))
                return context;
            if (const auto *label = qobject_cast<const QLabel *>(control); label && label->buddy()) {
                if (const int context = contextOf(label->buddy(), form))
                    return context;
            }
            if (Options.testFlag(wtUseTag)) {
                if (const int tag = control->property("Tag").toInt())
                    return tag;
            }
        }
        if (isForm)
            break;
    }
    return 0;
}

int TWhatsThis::contextOf(const QObject *item, const QWidget *form) const
{
    if (const int context = HelpContextOf(item))
        return context;
    if (const int context = FindControlContext(form, item))
        return context;
    // A tool button stands for its action.
    if (const auto *button = qobject_cast<const QToolButton *>(item); button && button->defaultAction())
        return contextOf(button->defaultAction(), form);
    return 0;
}

int TWhatsThis::FindControlContext(const QWidget *form, const QObject *item) const
{
    if (HelpContextMap == nullptr || HelpContextMap->FileName().isEmpty() || item->objectName().isEmpty())
        return 0;
    const QString extension = QFileInfo(HelpContextMap->FileName()).suffix().toLower();
    QString separator;
    if (extension == QLatin1String("hpj"))
        separator = QStringLiteral(".");
    else if (extension == QLatin1String("hhp"))
        separator = QStringLiteral("_");
    else
        return 0;
    // A window is named by its own name.
    const QString key
        = form == nullptr || item == form ? item->objectName() : form->objectName() + separator + item->objectName();
    return HelpContextMap->FindContext(key);
}

} // namespace help
