#include "WindowPlacement.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace platform {

namespace {

QMargins frameMargins(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

// Until the window manager has framed a window, the owner's frame (made by
// the same window manager) stands for its own.
QMargins expectedFrame(const QWidget &window, const QWidget *owner)
{
    const QMargins own = frameMargins(window);
    return own.isNull() && owner != nullptr ? frameMargins(*owner) : own;
}

class CentringFilter final : public QObject {
public:
    CentringFilter(QWidget &window, QWidget &owner) : QObject(&window), m_window(&window), m_owner(&owner)
    {
        owner.installEventFilter(this);
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool ownerPlaced
            = watched == m_owner && (event->type() == QEvent::Move || event->type() == QEvent::Resize);
        const bool shown = watched == m_window && event->type() == QEvent::Show;
        if (m_window && m_owner && m_window->isVisible() && (ownerPlaced || shown))
            PlaceOnOwnersScreen(*m_window, m_owner);
        return false;
    }

private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_owner;
};

// Centres a window on its screen when it is shown, with the size its layout
// gave it by then, and once more when the window manager has given it a
// frame, whose size is not known before; then goes.
class ScreenCentring final : public QObject {
public:
    explicit ScreenCentring(QWidget &window) : QObject(&window), m_window(window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != &m_window)
            return false;
        if (event->type() == QEvent::Show) {
            PlaceOnOwnersScreen(m_window, nullptr);
        } else if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && m_window.isVisible()
                   && !frameMargins(m_window).isNull()) {
            m_window.removeEventFilter(this);
            PlaceOnOwnersScreen(m_window, nullptr);
            deleteLater();
        }
        return false;
    }

private:
    QWidget &m_window;
};

} // namespace

QRect KeptWithin(QRect rect, const QRect &area)
{
    rect.setWidth(std::min(rect.width(), area.width()));
    rect.setHeight(std::min(rect.height(), area.height()));
    if (rect.right() > area.right())
        rect.moveRight(area.right());
    if (rect.bottom() > area.bottom())
        rect.moveBottom(area.bottom());
    if (rect.left() < area.left())
        rect.moveLeft(area.left());
    if (rect.top() < area.top())
        rect.moveTop(area.top());
    return rect;
}

QRect AvailableAreaFor(const QWidget *owner)
{
    const QScreen *screen = owner != nullptr ? owner->screen() : QGuiApplication::screenAt(QCursor::pos());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

void PlaceOnOwnersScreen(QWidget &window, const QWidget *owner)
{
    const QRect area = AvailableAreaFor(owner);
    if (area.isEmpty())
        return;
    const QMargins frame = expectedFrame(window, owner);
    QRect wanted(QPoint(), window.size().grownBy(frame));
    wanted.moveCenter(owner != nullptr ? owner->frameGeometry().center() : area.center());
    wanted = KeptWithin(wanted, area);
    window.resize(wanted.size().shrunkBy(frame));
    window.move(wanted.topLeft());
}

void KeepCentredOn(QWidget &window, QWidget &owner)
{
    new CentringFilter(window, owner);
}

void ShowCentredOnScreen(QWidget &window)
{
    new ScreenCentring(window);
    window.show();
}

} // namespace platform
