#include "ProgramSetUp.h"

#include "platform/Prompter.h"
#include "platform/widgets/QtPrompter.h"
#include "platform/widgets/QtTranslations.h"

#include <QCoreApplication>

namespace platform {

void setUpProgram(const QString &name, Qt::WindowModality boxModality)
{
    QCoreApplication::setApplicationName(name);
    installQtTranslations();
    setPrompter(std::make_unique<QtPrompter>(BoxesCanBeSeen(), boxModality));
}

} // namespace platform
