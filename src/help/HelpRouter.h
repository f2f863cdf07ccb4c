#pragma once

#include "help/HelpCommands.h"

#include <QPoint>
#include <QString>

namespace help {

enum class THelpType { htWinhelp, htHTMLhelp, htMixedMode };
enum class TShowType { stDefault, stMain, stPopup };

// Takes over the application's help commands for the process and sends them
// to the help runtime; shows named topics and text popups of the help file.
// There is at most one per process.
class THelpRouter {
public:
    // Throws EHelpError when a router exists already.
    THelpRouter();
    ~THelpRouter();
    THelpRouter(const THelpRouter &) = delete;
    THelpRouter &operator=(const THelpRouter &) = delete;

    THelpType HelpType = THelpType::htWinhelp;
    TShowType ShowType = TShowType::stDefault;
    // The help file; empty uses the application's.
    QString Helpfile;
    QString CHMPopupTopics = QStringLiteral("CSHelp.txt");
    // Called first for every request; clearing callHelp ends the request.
    HelpEvent OnHelp;
    // Topic names are turned into safe file names.
    bool ValidateID = false;

    bool ShowTopic(const QString &helpFile, const QString &topic);
    // A popup of its own text, or, with an empty text, of the context.
    bool ShowPopup(int x, int y, const QString &text, int context);
    QString GetHelpFile() const;
    // The application's help event while the router lives.
    bool RouteHelp(quint16 command, qint64 data, bool &callHelp);

    static THelpRouter *Instance();
    static QString TopicToFileName(const QString &topic);
    // The help file of the last request.
    static QString CurrentHelpFile();

private:
    bool routeToHtmlHelp(quint16 command, qint64 data, bool &callHelp);

    HelpEvent m_previousHelp;
    QPoint m_popupPoint;
};

// The help contents of the main program, through the application's help.
bool ShowHelpContents();

// The help file the application uses when a router names none.
QString ApplicationHelpFile();
void SetApplicationHelpFile(const QString &path);

} // namespace help
