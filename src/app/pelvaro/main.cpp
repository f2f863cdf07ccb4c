#include "ConstStr.h"
#include "PelvaroStart.h"
#include "QtPrompter.h"
#include "QuietQtNotices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    platform::quietQtNotices();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelvaro"));
    platform::setPrompter(std::make_unique<platform::QtPrompter>());
    zentavo::LoadLanguageTexts(zentavo::LanguageFilePath());
    const auto form = pelvo::StartPelvaro(app.arguments().mid(1));
    return app.exec();
}
