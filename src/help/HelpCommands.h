#pragma once

#include <QtGlobal>

#include <functional>

namespace help {

// The application's help commands, as windows ask for help and the help
// router receives them.
enum HelpCommand : quint16 {
    HELP_CONTEXT = 1,
    HELP_QUIT = 2,
    HELP_CONTENTS = 3,
    HELP_CONTEXTPOPUP = 8,
    HELP_FINDER = 11,
    HELP_SETPOPUP_POS = 13,
    HELP_TAB = 15,
    HELP_KEY = 257,
    HELP_PARTIALKEY = 261,
};

// The application's help event: handles a command; clearing callHelp tells
// the application not to handle it itself.
using HelpEvent = std::function<bool(quint16 command, qint64 data, bool &callHelp)>;

// The process's help event, which the help router takes over while it lives.
HelpEvent ApplicationHelpEvent();
void SetApplicationHelpEvent(HelpEvent event);

// A help command of the application: its help event's answer; false when
// there is none, as the application has no help of its own.
bool ApplicationHelpCommand(quint16 command, qint64 data);

// The popup point of HELP_SETPOPUP_POS: X in the low, Y in the high 16 bits.
qint64 PackPopupPoint(int x, int y);
void UnpackPopupPoint(qint64 data, int &x, int &y);

} // namespace help
