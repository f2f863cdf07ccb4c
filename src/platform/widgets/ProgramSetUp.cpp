#include "ProgramSetUp.h"

#include "platform/Prompter.h"
#include "platform/widgets/QtPrompter.h"
#include "platform/widgets/QtTranslations.h"

#include <QCoreApplication>

namespace platform {

void setUpProgram(const QString &name)
{
    QCoreApplication::setApplicationName(name);
    installQtTranslations();
    setPrompter(std::make_unique<QtPrompter>());
}

} // namespace platform
