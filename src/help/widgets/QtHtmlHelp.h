#pragma once

#include "help/HelpFile.h"
#include "help/HtmlHelpApi.h"
#include "help/widgets/HelpPopup.h"
#include "help/widgets/HelpWindow.h"

#include <QPointer>

#include <map>
#include <memory>

namespace help {

// The help runtime of the programs: topics in a help window, popups near
// their point. Each request that cannot be served tells the user why.
class QtHtmlHelp final : public HtmlHelpRuntime {
public:
    QtHtmlHelp();
    ~QtHtmlHelp() override;

    bool DisplayTopic(const QString &helpFile, const QString &topic) override;
    bool HelpContext(const QString &helpFile, int context) override;
    bool DisplayContents(const QString &helpFile) override;
    bool DisplayIndex(const QString &helpFile) override;
    bool DisplayTextPopup(const HelpPopupRequest &request) override;
    void CloseAll() override;
    QPoint CursorPosition() const override;

    // The windows shown, null before the first request.
    HelpWindow *Window() const { return m_window; }
    HelpPopup *Popup() const { return m_popup; }

private:
    const HelpFile *helpFile(const QString &path);
    bool show(const HelpFile &file, const QString &topic);
    void report(const QString &text);

    std::map<QString, std::unique_ptr<HelpFile>> m_files;
    QPointer<HelpWindow> m_window;
    QPointer<HelpPopup> m_popup;
};

// Makes the help runtime of this process the help windows above.
void UseQtHelpWindows();

} // namespace help
