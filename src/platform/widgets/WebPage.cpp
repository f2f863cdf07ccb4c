#include "WebPage.h"

#include "platform/Prompter.h"

#include <QDesktopServices>

namespace platform {

namespace {

UrlOpener &installedOpener()
{
    static UrlOpener opener;
    return opener;
}

} // namespace

QUrl ProductWebPage()
{
    return QUrl(QStringLiteral(ZENTAVO_WEB_PAGE));
}

bool OpenProductWebPage(const QString &title)
{
    const QUrl page = ProductWebPage();
    const UrlOpener &opener = installedOpener();
    if (page.isValid() && (opener ? opener(page) : QDesktopServices::openUrl(page)))
        return true;
    prompter().message(
        {title,
         QStringLiteral("The web page %1 could not be opened: no browser took it.").arg(page.toDisplayString()),
         PromptIcon::Warning,
         PromptButton::Ok,
         {}});
    return false;
}

void setUrlOpener(UrlOpener opener)
{
    installedOpener() = std::move(opener);
}

} // namespace platform
