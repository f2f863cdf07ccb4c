#include "DialogParts.h"

#include "editor/PageTexts.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "shared/widgets/FormBuilders.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelvo::dialogs {

OkCancel addOkCancel(QDialog &dialog, QVBoxLayout &layout)
{
    OkCancel buttons{zentavo::forms::pushButton(&dialog, "ButtonOk", QStringLiteral("Ok")),
                     zentavo::forms::pushButton(&dialog, "ButtonCancel", QStringLiteral("Cancel"))};
    buttons.ok->setDefault(true);
    buttons.ok->setAutoDefault(true);
    buttons.cancel->setAutoDefault(false);
    QObject::connect(buttons.ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(buttons.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(buttons.ok);
    row->addWidget(buttons.cancel);
    layout.addLayout(row);
    layout.setContentsMargins(10, 10, 10, 10);
    // A bordered dialog of fixed size: nothing to maximise.
    layout.setSizeConstraint(QLayout::SetFixedSize);
    dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    return buttons;
}

std::optional<QString> pickFile(const QString &title, const QString &path)
{
    platform::FileRequest request;
    request.title = title;
    request.folder = PickerStart(path);
    request.filter = QStringLiteral("Производное (*)");
    return platform::prompter().fileName(request);
}

std::optional<QString> pickFolder(const QString &title, const QString &path)
{
    return platform::prompter().folder({title, QString(), PickerStart(path)});
}

} // namespace pelvo::dialogs
