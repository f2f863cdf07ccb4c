#pragma once

#include <QLocale>

namespace platform {

// Loads Qt's own translations for the locale (the standard buttons' "Yes",
// "Cancel" and the texts of the standard dialogs), so the class library's
// texts follow the user's language as the programs' own texts do. A locale
// without a translation keeps English. True when one was loaded.
bool installQtTranslations(const QLocale &locale = QLocale::system());

} // namespace platform
