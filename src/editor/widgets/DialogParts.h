#pragma once

#include <QString>

#include <optional>

class QDialog;
class QPushButton;
class QVBoxLayout;

// What the editor's small dialogs share: their frame and the file picker
// their browse buttons open.
namespace pelvo::dialogs {

struct OkCancel {
    QPushButton *ok;
    QPushButton *cancel;
};

// Ok (the default button) and Cancel at the bottom right of the layout.
OkCancel addOkCancel(QDialog &dialog, QVBoxLayout &layout);

// Lets the user pick a file, starting in the folder of path; the full path
// of the chosen file, or nothing when cancelled.
std::optional<QString> pickFile(const QString &title, const QString &path);
// The same for a folder.
std::optional<QString> pickFolder(const QString &title, const QString &path);

} // namespace pelvo::dialogs
