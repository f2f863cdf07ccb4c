#pragma once

namespace zentavo {

class TFormVorrin;

// The two programs that show the settings dialog.
enum class SettingsProgram { Zentavo, Vorrin };

// Opens the program's settings dialog modally, the one way both programs
// open it. Only one settings dialog is open across the suite: while the
// other program's dialog is open (found by the title that program gives it)
// a message names that window and nothing opens; while this dialog is open
// already it is brought to the front. Otherwise the dialog gets the
// program's title, which the other program looks for, for as long as it is
// shown; the scheduler's title is also the application's title meanwhile.
// False when nothing was opened.
bool OpenSettingsDialog(TFormVorrin &dialog, SettingsProgram program);

} // namespace zentavo
