#pragma once

#include <QString>
#include <qnamespace.h>

namespace platform {

// What every program of the suite sets up once its application object
// exists and before its first window: its name, Qt's own texts (standard
// buttons and dialogs) in the user's language, and questions asked in
// message boxes on the screen, modal as given (see QtPrompter).
void setUpProgram(const QString &name, Qt::WindowModality boxModality = Qt::ApplicationModal);

} // namespace platform
