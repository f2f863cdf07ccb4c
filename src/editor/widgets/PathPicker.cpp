#include "PathPicker.h"

#include "editor/PageTexts.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "shared/ConstStr.h"

#include <QDir>
#include <QLineEdit>

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

bool RefuseLineBreaker(QLineEdit *edit)
{
    if (!BreaksItsLine(edit->text()))
        return false;
    platform::prompter().message({zentavo::sEditorHeader,
                                  QStringLiteral("A folder or command of a job cannot contain \"=\":\n") + edit->text(),
                                  platform::PromptIcon::Warning,
                                  platform::PromptButton::Ok,
                                  {}});
    edit->setText(edit->text().remove(u'='));
    return true;
}

} // namespace pelvo
