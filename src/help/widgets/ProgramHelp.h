#pragma once

#include <QString>

class QAction;
class QWidget;

namespace help {

class THelpRouter;
class TWhatsThis;

// The one call a window makes to get context help:
// - the first call of the process sets up the program's help: the help
//   router on "Zentavo.chm" beside the programs, shown in the help windows,
//   and a what's-this component with the windows' built-in context map that
//   serves every window of the program (F1, Shift+F1, right-click menu);
// - context, when not 0, is the window's own help context (its controls
//   inherit it; a negative one opens that topic instead of a popup);
// - whatsThisAction, when given, becomes the window's check item and tool
//   button for what's-this mode (it gets Shift+F1); the window then has its
//   own what's-this component while it lives.
// Control contexts come from the help project's map file by the window's
// and the control's object names ("FormZentavo_ListBoxRep").
void InstallHelp(QWidget *window, int context = 0, QAction *whatsThisAction = nullptr);

// A topic of the program's help file ("CreateJob", "CommandLine"); false
// when it cannot be shown (the user was told why).
bool ShowHelpTopic(const QString &topic);

// The program's help router and current what's-this component; null before
// InstallHelp.
THelpRouter *ProgramHelpRouter();
TWhatsThis *ProgramWhatsThis();

} // namespace help
