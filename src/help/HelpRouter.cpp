#include "HelpRouter.h"

#include "help/HelpError.h"
#include "help/HtmlHelpApi.h"
#include "platform/Paths.h"

#include <QFileInfo>

namespace help {

namespace {

THelpRouter *&theRouter()
{
    static THelpRouter *router = nullptr;
    return router;
}

QString &currentHelpFile()
{
    static QString file;
    return file;
}

QString &applicationHelpFile()
{
    static QString file;
    return file;
}

QString withExtension(const QString &file, const QString &extension)
{
    return file.isEmpty() ? file : platform::changeFileExt(file, extension);
}

} // namespace

THelpRouter::THelpRouter()
{
    if (theRouter() != nullptr)
        throw EHelpError(QStringLiteral("Multiple instances of THelpRouter are not allowed"));
    m_previousHelp = ApplicationHelpEvent();
    SetApplicationHelpEvent(
        [this](quint16 command, qint64 data, bool &callHelp) { return RouteHelp(command, data, callHelp); });
    theRouter() = this;
}

THelpRouter::~THelpRouter()
{
    SetApplicationHelpEvent(m_previousHelp);
    theRouter() = nullptr;
}

THelpRouter *THelpRouter::Instance()
{
    return theRouter();
}

QString THelpRouter::CurrentHelpFile()
{
    return currentHelpFile();
}

QString THelpRouter::GetHelpFile() const
{
    return Helpfile.isEmpty() ? applicationHelpFile() : Helpfile;
}

bool THelpRouter::RouteHelp(quint16 command, qint64 data, bool &callHelp)
{
    bool result = false;
    if (OnHelp)
        result = OnHelp(command, data, callHelp);
    if (callHelp && m_previousHelp)
        result = m_previousHelp(command, data, callHelp);
    if (!callHelp)
        return result;

    currentHelpFile() = GetHelpFile();
    if (ShowType == TShowType::stMain) {
        if (command == HELP_CONTEXTPOPUP)
            command = HELP_CONTEXT;
        else if (command == HELP_SETPOPUP_POS)
            command = 0;
    }
    const bool html = HelpType == THelpType::htHTMLhelp
        || (HelpType == THelpType::htMixedMode && command != HELP_CONTEXTPOPUP && command != HELP_SETPOPUP_POS);
    if (html)
        return routeToHtmlHelp(command, data, callHelp);
    // This system has no WinHelp: its requests show nothing, and the
    // application is not asked to show them either.
    callHelp = false;
    return command == 0;
}

bool THelpRouter::routeToHtmlHelp(quint16 command, qint64 data, bool &callHelp)
{
    if (!IsHtmlHelpLoaded() && command == HELP_QUIT) {
        callHelp = false;
        return true;
    }
    if (!HtmlHelpAvailable())
        return false;
    callHelp = false;
    HtmlHelpRuntime &runtime = *HtmlHelp();
    const QString file = withExtension(currentHelpFile(), QStringLiteral(".chm"));
    switch (command) {
    case HELP_CONTEXT: return runtime.HelpContext(file, int(data));
    case HELP_QUIT: runtime.CloseAll(); return false;
    case HELP_CONTENTS:
    case HELP_FINDER: return runtime.DisplayContents(file);
    case HELP_CONTEXTPOPUP: {
        const QPoint at = m_popupPoint.isNull() ? runtime.CursorPosition() : m_popupPoint;
        ShowPopup(at.x(), at.y(), QString(), int(data));
        m_popupPoint = {};
        return true;
    }
    case HELP_SETPOPUP_POS: {
        int x = 0;
        int y = 0;
        UnpackPopupPoint(data, x, y);
        m_popupPoint = {x, y};
        return false;
    }
    case HELP_TAB: return data != 0 ? runtime.DisplayIndex(file) : runtime.DisplayContents(file);
    case HELP_KEY:
    case HELP_PARTIALKEY: return runtime.DisplayIndex(file);
    default: return false;
    }
}

bool THelpRouter::ShowTopic(const QString &helpFile, const QString &topic)
{
    currentHelpFile() = helpFile.isEmpty() ? GetHelpFile() : helpFile;
    // There is no WinHelp here to show a topic with.
    if (HelpType == THelpType::htWinhelp || !HtmlHelpAvailable())
        return false;
    QString topicFile = topic;
    if (!topicFile.isEmpty() && !QFileInfo(topicFile).suffix().startsWith(QLatin1String("htm"), Qt::CaseInsensitive)) {
        if (ValidateID)
            topicFile = TopicToFileName(topicFile);
        topicFile += QStringLiteral(".htm");
    }
    return HtmlHelp()->DisplayTopic(withExtension(currentHelpFile(), QStringLiteral(".chm")), topicFile);
}

bool THelpRouter::ShowPopup(int x, int y, const QString &text, int context)
{
    if (!HtmlHelpAvailable())
        return false;
    HelpPopupRequest request;
    request.position = {x, y};
    request.text = text;
    if (text.isEmpty()) {
        if (CHMPopupTopics.isEmpty())
            CHMPopupTopics = QStringLiteral("CSHelp.txt");
        request.context = context;
        request.helpFile = withExtension(GetHelpFile(), QStringLiteral(".chm"));
        request.popupTopics = CHMPopupTopics;
    }
    return HtmlHelp()->DisplayTextPopup(request);
}

QString THelpRouter::TopicToFileName(const QString &topic)
{
    QString name;
    name.reserve(topic.size());
    for (const QChar c : topic) {
        switch (c.unicode()) {
        case u' ':
        case u'%':
        case u'.': name += u'_'; break;
        case u'"':
        case u'\'':
        case u',':
        case u'/':
        case u':':
        case u'?':
        case u'\\':
        case u'|':
        case 191: break;
        case u'&':
        case u'*': name += u'+'; break;
        case u'<':
        case u'>': name += u'~'; break;
        case u'[': name += u'('; break;
        case u']': name += u')'; break;
        case 196:
        case 228: name += u'a'; break;
        case 214:
        case 246: name += u'o'; break;
        case 220:
        case 252: name += u'u'; break;
        case 223: name += u's'; break;
        default: name += c;
        }
    }
    return name;
}

bool ShowHelpContents()
{
    return ApplicationHelpCommand(HELP_TAB, 0);
}

QString ApplicationHelpFile()
{
    return applicationHelpFile();
}

void SetApplicationHelpFile(const QString &path)
{
    applicationHelpFile() = path;
}

} // namespace help
