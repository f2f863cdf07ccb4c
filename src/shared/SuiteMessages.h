#pragma once

#include <QString>

// The registered messages by which the programs talk to each other, and the
// captions of the windows that receive them.
namespace zentavo {

// Settings changed; the main program with wParam 1 also re-reads the
// default job file.
inline const QString MsgUpdateVorrin = QStringLiteral("WM_UpdateVorrin");
// The main program's window closed.
inline const QString MsgRunZentavo = QStringLiteral("WM_RunZentavo");
// Control of the scheduler from outside the suite (wParam 0 to 3).
inline const QString MsgServiceVorrin = QStringLiteral("WM_ServiceVorrin");

// Set to "1" in the environment of a main program that the scheduler starts
// minimised ("Run minimized"), so that its command line stays "/run".
inline const QString EnvRunMinimized = QStringLiteral("ZENTAVO_RUN_MINIMIZED");

// The scheduler's hidden window.
inline const QString CaptionTrayVorrin = QStringLiteral("TrayFormVorrin");
// The main program's main window.
inline const QString CaptionZentavo = QStringLiteral("The Zentavo");

// Tells the scheduler (wParam 0) and the main program (mainProgramWParam;
// 1 makes it re-read the default job file) that the settings changed
// ("WM_UpdateVorrin"), each only when its window exists.
void PostVorrinUpdate(quint64 mainProgramWParam = 0);

} // namespace zentavo
