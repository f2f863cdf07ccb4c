#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace platform {

// The product's web page: the address the suite was built with
// (ZENTAVO_WEB_PAGE).
QUrl ProductWebPage();

// Hands the product's web page to the desktop's browser and returns at once.
// When nothing takes it, the user is told in a message titled title.
bool OpenProductWebPage(const QString &title);

// What hands an address to the browser: the desktop's by default; tests put
// their own here, and an empty one puts the desktop's back.
using UrlOpener = std::function<bool(const QUrl &)>;
void setUrlOpener(UrlOpener opener);

} // namespace platform
