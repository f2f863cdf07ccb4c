#pragma once

#include <QPoint>
#include <QString>

#include <functional>
#include <memory>

namespace help {

// A text popup request: a text of its own, or the popup of a context number
// in the help file's popup-text file.
struct HelpPopupRequest {
    QString helpFile;    // empty with a text of its own
    QString popupTopics; // the popup-text file inside the help file
    int context = 0;
    QString text;
    QPoint position; // screen coordinates
};

// The runtime that shows compiled help files. Every request answers whether
// a help window (or popup) is now shown.
class HtmlHelpRuntime {
public:
    virtual ~HtmlHelpRuntime() = default;
    // The topic file inside the help file; its default topic when empty.
    virtual bool DisplayTopic(const QString &helpFile, const QString &topic) = 0;
    // The topic of a help context number.
    virtual bool HelpContext(const QString &helpFile, int context) = 0;
    virtual bool DisplayContents(const QString &helpFile) = 0;
    virtual bool DisplayIndex(const QString &helpFile) = 0;
    virtual bool DisplayTextPopup(const HelpPopupRequest &request) = 0;
    virtual void CloseAll() = 0;
    // Where a popup without a position of its own appears.
    virtual QPoint CursorPosition() const = 0;
};

// How the runtime is loaded: the program installs the loader of its help
// windows; without one (or when it gives none) the process has no help.
using HtmlHelpLoader = std::function<std::unique_ptr<HtmlHelpRuntime>()>;
void SetHtmlHelpLoader(HtmlHelpLoader loader);

bool IsHtmlHelpLoaded();
// Loads the runtime once; whether it is loaded.
bool LoadHtmlHelp();
void UnloadHtmlHelp();
// Loads the runtime when needed; whether help can be shown.
bool HtmlHelpAvailable();
// The loaded runtime, or null.
HtmlHelpRuntime *HtmlHelp();

} // namespace help
