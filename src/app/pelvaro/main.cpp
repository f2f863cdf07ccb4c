#include "editor/widgets/PelvaroStart.h"
#include "platform/QuietQtNotices.h"
#include "platform/widgets/ProgramSetUp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    platform::quietQtNotices();
    QApplication app(argc, argv);
    platform::setUpProgram(QStringLiteral("Pelvaro"));
    const auto form = pelvo::StartPelvaro(app.arguments().mid(1));
    return app.exec();
}
