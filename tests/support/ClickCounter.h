#pragma once

#include <QMouseEvent>
#include <QWidget>

// A window that counts the presses it takes: whether a modal window leaves
// another window taking clicks.
class ClickCounter final : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};
