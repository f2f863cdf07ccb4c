#pragma once

#include <QRect>

class QWidget;

namespace platform {

// The rectangle moved, and shrunk where it is larger, so that it lies wholly
// inside area.
QRect KeptWithin(QRect rect, const QRect &area);

// The free area (without panels) of the screen that shows the owner; of the
// screen under the mouse pointer without one.
QRect AvailableAreaFor(const QWidget *owner);

// Places a window: its frame centred on its owner's (on the screen's centre
// without an owner) and wholly on the owner's screen, shrunk where the
// screen is smaller.
void PlaceOnOwnersScreen(QWidget &window, const QWidget *owner);

// Shows a main window centred on the screen under the mouse pointer rather
// than where the window manager would put it, and centres it once more with
// its frame as soon as the window manager has framed it.
void ShowCentredOnScreen(QWidget &window);

// Keeps the window centred on its owner whenever the owner moves or changes
// size while the window is shown: a window shown before the window manager
// has placed its owner then ends centred on where the owner went.
void KeepCentredOn(QWidget &window, QWidget &owner);

} // namespace platform
