#include "ProgramSetUp.h"

#include "Prompter.h"
#include "QtPrompter.h"
#include "QtTranslations.h"

#include <QCoreApplication>

namespace platform {

void setUpProgram(const QString &name)
{
    QCoreApplication::setApplicationName(name);
    installQtTranslations();
    setPrompter(std::make_unique<QtPrompter>());
}

} // namespace platform
