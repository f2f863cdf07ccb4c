#include "QtHtmlHelp.h"

#include "help/widgets/HelpPopup.h"
#include "help/widgets/HelpWindow.h"
#include "platform/Prompter.h"
#include "platform/widgets/WindowPlacement.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>

namespace help {

namespace {

const QString NoPopupText = QStringLiteral("No help is available for this item.");

} // namespace

QtHtmlHelp::QtHtmlHelp() = default;

QtHtmlHelp::~QtHtmlHelp()
{
    // Without an application its windows are gone already.
    if (QCoreApplication::instance() != nullptr) {
        delete m_window.data();
        delete m_popup.data();
    }
}

const HelpFile *QtHtmlHelp::helpFile(const QString &path)
{
    const QString key = QFileInfo(path).absoluteFilePath();
    auto found = m_files.find(key);
    if (found == m_files.end()) {
        // Not kept when it fails: a file put right later is read then, and
        // every request until then is told why it fails.
        std::unique_ptr<HelpFile> file = HelpFile::open(key);
        if (!file) {
            const QString name = QDir::toNativeSeparators(key);
            report(QFileInfo(key).isFile()
                       ? QStringLiteral("The help file %1 cannot be read: it is damaged or no help file.").arg(name)
                       : QStringLiteral("The help file %1 is missing.").arg(name));
            return nullptr;
        }
        found = m_files.emplace(key, std::move(file)).first;
    }
    return found->second.get();
}

void QtHtmlHelp::report(const QString &text)
{
    platform::prompter().message(
        {QStringLiteral("Help"), text, platform::PromptIcon::Warning, platform::PromptButton::Ok, {}});
}

namespace {

// Help asked for from a modal dialog must not be blocked by it: its windows
// then belong to the dialog.
template <class Window>
void makeOwned(QPointer<Window> &window)
{
    QWidget *modal = QApplication::activeModalWidget();
    if (window && window->parentWidget() != modal)
        delete window.data();
    if (!window)
        window = new Window(modal);
}

} // namespace

bool QtHtmlHelp::show(const HelpFile &file, const QString &topic)
{
    makeOwned(m_window);
    if (!m_window->isVisible()) {
        // Where the window asking for help is (the scheduler has none).
        QWidget *owner = QApplication::activeModalWidget();
        if (owner == nullptr)
            owner = QApplication::activeWindow();
        platform::PlaceOnOwnersScreen(*m_window, owner);
    }
    m_window->showTopic(file, topic);
    return true;
}

bool QtHtmlHelp::DisplayTopic(const QString &helpFile, const QString &topic)
{
    const HelpFile *file = this->helpFile(helpFile);
    if (file == nullptr)
        return false;
    const QString shown = topic.isEmpty() ? file->defaultTopic() : topic;
    if (!file->hasTopic(shown)) {
        report(QStringLiteral("The help file %1 has no topic \"%2\".").arg(QFileInfo(helpFile).fileName(), shown));
        return false;
    }
    return show(*file, shown);
}

bool QtHtmlHelp::HelpContext(const QString &helpFile, int context)
{
    const HelpFile *file = this->helpFile(helpFile);
    if (file == nullptr)
        return false;
    const QString topic = file->topicOfContext(context);
    if (topic.isEmpty() || !file->hasTopic(topic)) {
        report(QStringLiteral("The help file %1 has no topic for help context %2.")
                   .arg(QFileInfo(helpFile).fileName())
                   .arg(context));
        return false;
    }
    return show(*file, topic);
}

bool QtHtmlHelp::DisplayContents(const QString &helpFile)
{
    return DisplayTopic(helpFile, QString());
}

bool QtHtmlHelp::DisplayIndex(const QString &helpFile)
{
    // The help file has no keyword index: its contents stand for it.
    return DisplayContents(helpFile);
}

bool QtHtmlHelp::DisplayTextPopup(const HelpPopupRequest &request)
{
    QString text = request.text;
    if (!request.helpFile.isEmpty()) {
        const HelpFile *file = helpFile(request.helpFile);
        if (file == nullptr)
            return false;
        text = file->popupText(request.popupTopics, request.context).value_or(NoPopupText);
    }
    makeOwned(m_popup);
    m_popup->showText(text, request.position);
    return true;
}

void QtHtmlHelp::CloseAll()
{
    if (m_popup)
        m_popup->close();
    if (m_window)
        m_window->close();
}

QPoint QtHtmlHelp::CursorPosition() const
{
    return QCursor::pos();
}

void UseQtHelpWindows()
{
    SetHtmlHelpLoader([] { return std::make_unique<QtHtmlHelp>(); });
}

} // namespace help
