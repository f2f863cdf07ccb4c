#include "ProgramHelp.h"

#include "help/BuiltInContextMap.h"
#include "help/HelpRouter.h"
#include "help/HtmlHelpApi.h"
#include "help/widgets/QtHtmlHelp.h"
#include "help/widgets/WhatsThis.h"
#include "platform/Paths.h"

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace help {

namespace {

const QString HelpFileName = QStringLiteral("Zentavo.chm");

// The program's help, made by the first window that asks and ended with the
// application, before the windows it shows are gone.
class ProgramHelp final : public QObject {
public:
    ProgramHelp() : QObject(QCoreApplication::instance()), m_whatsThis(new TWhatsThis(this))
    {
        UseQtHelpWindows();
        const QString helpFile = platform::programFile(HelpFileName);
        SetApplicationHelpFile(helpFile);
        m_router.HelpType = THelpType::htHTMLhelp;
        m_router.Helpfile = helpFile;
        m_router.CHMPopupTopics = QStringLiteral("CSHelp.txt");
        m_router.ValidateID = false;
        setUp(*m_whatsThis);
        m_whatsThis->Loaded();
        // Gone while the application still runs its windows.
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] { delete this; });
    }
    ~ProgramHelp() override
    {
        delete m_whatsThis.data();
        UnloadHtmlHelp();
        SetHtmlHelpLoader({});
    }

    THelpRouter &router() { return m_router; }

    static void setUp(TWhatsThis &whatsThis)
    {
        whatsThis.HelpContextMap = &FormsContextMap();
        whatsThis.F1Action = TWhatsThis::TF1Action::goContext;
        whatsThis.Options = {TWhatsThis::wtMenuRightClick, TWhatsThis::wtNoContextHelp, TWhatsThis::wtNoContextMenu,
                             TWhatsThis::wtInheritFormContext, TWhatsThis::wtUseAppKey};
        whatsThis.PopupCaption = QStringLiteral("What's this?");
        whatsThis.PopupHelpContext = 0;
    }

private:
    THelpRouter m_router;
    QPointer<TWhatsThis> m_whatsThis;
};

QPointer<ProgramHelp> &programHelp()
{
    static QPointer<ProgramHelp> help;
    return help;
}

ProgramHelp &theProgramHelp()
{
    if (!programHelp())
        programHelp() = new ProgramHelp;
    return *programHelp();
}

} // namespace

void InstallHelp(QWidget *window, int context, QAction *whatsThisAction)
{
    theProgramHelp();
    if (context != 0)
        SetHelpContext(window, context);
    if (whatsThisAction == nullptr)
        return;
    auto *whatsThis = new TWhatsThis(window);
    ProgramHelp::setUp(*whatsThis);
    whatsThis->SetWTAction(whatsThisAction);
    whatsThis->Loaded();
}

bool ShowHelpTopic(const QString &topic)
{
    return theProgramHelp().router().ShowTopic(QString(), topic);
}

THelpRouter *ProgramHelpRouter()
{
    return programHelp() ? &programHelp()->router() : nullptr;
}

TWhatsThis *ProgramWhatsThis()
{
    return TWhatsThis::Current();
}

} // namespace help
