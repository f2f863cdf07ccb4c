#include "QtPrompter.h"

#include "platform/widgets/FindDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace platform {

namespace {

// Runs the dialog on the GUI thread; from another thread the caller blocks
// until the user has answered.
template <typename Dialog>
auto onGuiThread(Dialog dialog) -> decltype(dialog())
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread())
        return dialog();
    decltype(dialog()) answer{};
    QMetaObject::invokeMethod(
        app, [&answer, &dialog] { answer = dialog(); }, Qt::BlockingQueuedConnection);
    return answer;
}

QMessageBox::Icon boxIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::Warning: return QMessageBox::Warning;
    case PromptIcon::Error: return QMessageBox::Critical;
    case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

constexpr std::pair<PromptButton, QMessageBox::StandardButton> ButtonPairs[] = {
    {PromptButton::Ok, QMessageBox::Ok},       {PromptButton::Cancel, QMessageBox::Cancel},
    {PromptButton::Yes, QMessageBox::Yes},     {PromptButton::No, QMessageBox::No},
    {PromptButton::Retry, QMessageBox::Retry}, {PromptButton::Ignore, QMessageBox::Ignore},
    {PromptButton::Abort, QMessageBox::Abort},
};

void addButtons(QMessageBox &box, const MessageRequest &request)
{
    for (const auto &[ours, qt] : ButtonPairs) {
        if (request.buttons.testFlag(ours))
            box.addButton(qt);
    }
    if (request.help) {
        // Help shows its topic and leaves the box open, as a system box's Help button does.
        QPushButton *help = box.addButton(QMessageBox::Help);
        QObject::disconnect(help, &QPushButton::clicked, nullptr, nullptr);
        QObject::connect(help, &QPushButton::clicked, &box, request.help);
    }
}

// The box deletes itself when it is closed; until then it belongs to the
// window that was active, or stays a window of its own.
void showNotice(const MessageRequest &request)
{
    auto *box = new QMessageBox(boxIcon(request.icon), request.title, request.text, QMessageBox::NoButton,
                                QApplication::activeWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    addButtons(*box, request);
    box->show();
}

PromptButton showMessage(const MessageRequest &request, Qt::WindowModality modality)
{
    if (!request.waits) {
        showNotice(request);
        return PromptButton::None;
    }
    QMessageBox box(boxIcon(request.icon), request.title, request.text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setWindowModality(modality);
    addButtons(box, request);
    bool timedOut = false;
    if (request.timeoutMs > 0) {
        QTimer::singleShot(request.timeoutMs, &box, [&box, &timedOut] {
            timedOut = true;
            box.done(QMessageBox::NoButton);
        });
    }
    const auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
    if (timedOut)
        return PromptButton::None;
    for (const auto &[ours, qt] : ButtonPairs) {
        if (qt == clicked)
            return ours;
    }
    return request.buttons.testFlag(PromptButton::Cancel) ? PromptButton::Cancel : PromptButton::None;
}

std::optional<QString> showInput(const InputRequest &request, Qt::WindowModality modality)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowModality(modality);
    dialog.setWindowTitle(request.title);
    dialog.setLabelText(request.prompt);
    dialog.setTextValue(request.value);
    // The whole text the box starts with is in view, as far as the screen allows.
    if (auto *edit = dialog.findChild<QLineEdit *>()) {
        const int textWidth
            = edit->fontMetrics().horizontalAdvance(request.value) + 4 * edit->fontMetrics().averageCharWidth();
        const QScreen *screen = dialog.screen();
        const int widest = screen ? screen->availableGeometry().width() * 3 / 4 : textWidth;
        edit->setMinimumWidth(std::min(textWidth, widest));
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> showFileDialog(const FileRequest &request, Qt::WindowModality modality)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.folder, request.filter);
    dialog.setWindowModality(modality);
    const bool open = request.mode == FileRequest::Mode::Open;
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

bool isBelow(const QString &folder, const QString &root)
{
    const QString relative = QDir(root).relativeFilePath(folder);
    return !relative.startsWith(QStringLiteral(".."));
}

std::optional<QString> showFolderDialog(const FolderRequest &request, Qt::WindowModality modality)
{
    const QString start = request.root.isEmpty() || isBelow(request.start, request.root) ? request.start : request.root;
    QFileDialog dialog(QApplication::activeWindow(), request.title, start);
    dialog.setWindowModality(modality);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        const QString chosen = dialog.selectedFiles().constFirst();
        if (request.root.isEmpty() || isBelow(chosen, request.root))
            return QDir::toNativeSeparators(chosen);
        dialog.setDirectory(request.root);
    }
}

} // namespace

bool BoxesCanBeSeen()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal")
        && !QGuiApplication::screens().isEmpty();
}

QtPrompter::QtPrompter(bool boxesSeen, Qt::WindowModality modality) : m_boxesSeen(boxesSeen), m_modality(modality)
{
}

PromptButton QtPrompter::message(const MessageRequest &request)
{
    if (!m_boxesSeen) {
        // Nobody could answer: the text goes where it can be read later, and
        // the box ends as one whose time ran out.
        const QString text
            = request.title.isEmpty() ? request.text : request.title + QStringLiteral(": ") + request.text;
        std::fprintf(stderr, "%s\n", qUtf8Printable(QString(text).replace(u'\r', u'\n')));
        std::fflush(stderr);
        return PromptButton::None;
    }
    return onGuiThread([this, &request] { return showMessage(request, m_modality); });
}

std::optional<QString> QtPrompter::input(const InputRequest &request)
{
    return onGuiThread([this, &request] { return showInput(request, m_modality); });
}

std::optional<QString> QtPrompter::fileName(const FileRequest &request)
{
    return onGuiThread([this, &request] { return showFileDialog(request, m_modality); });
}

std::optional<QString> QtPrompter::folder(const FolderRequest &request)
{
    return onGuiThread([this, &request] { return showFolderDialog(request, m_modality); });
}

std::optional<FindRequest> QtPrompter::find(const FindRequest &request)
{
    return onGuiThread([this, &request] { return FindDialog::ask(request, QApplication::activeWindow(), m_modality); });
}

bool QtPrompter::printSetup(QPrinter &printer)
{
    return onGuiThread([this, &printer] {
        QPrintDialog dialog(&printer, QApplication::activeWindow());
        dialog.setWindowModality(m_modality);
        return dialog.exec() == QDialog::Accepted;
    });
}

} // namespace platform
