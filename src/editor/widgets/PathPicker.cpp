#include "PathPicker.h"

#include "editor/PageTexts.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "shared/ConstStr.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTimer>

namespace pelvo {

std::optional<QString> PickCopyFolder(const QString &start)
{
    platform::FolderRequest request;
    request.start = PickerStart(start);
    std::optional<QString> folder = platform::prompter().folder(request);
    if (folder && folder->size() > 1 && platform::endsWithSeparator(*folder) && !QDir(*folder).isRoot())
        folder->chop(1);
    return folder;
}

void TellLineBreakerOnLeave(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit] {
        const QString text = edit->text();
        if (!BreaksItsLine(text))
            return;
        // Once the click or key that left the edit has been handled; not when
        // another window or one of the program's own messages took the focus.
        QTimer::singleShot(0, edit, [edit, text] {
            if (QApplication::activeModalWidget() || !edit->window()->isActiveWindow())
                return;
            platform::prompter().message(
                {zentavo::sEditorHeader,
                 QStringLiteral("A folder or command of a job cannot contain \"=\":\n%1\nIt is kept as you typed "
                                "it, but the job file cannot be saved until the \"=\" is gone.")
                     .arg(text),
                 platform::PromptIcon::Warning,
                 platform::PromptButton::Ok,
                 {}});
        });
    });
}

} // namespace pelvo
