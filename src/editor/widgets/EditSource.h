#pragma once

#include <QDialog>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pelvo {

// Asks for one source of an archive: a file, a folder or a mask. The caller
// fills EditWhat before showing it and reads it after Ok.
class TFormSource final : public QDialog {
    Q_OBJECT
public:
    explicit TFormSource(QWidget *parent = nullptr);

    // Ok only for a source that is not empty.
    void EditWhatChange();
    // Browse's two items: a file, or a folder.
    void ButtonBrowseClick();
    void BrowseFolderClick();

    QLabel *LabelInfo = nullptr;
    QLineEdit *EditWhat = nullptr;
    QPushButton *ButtonBrowse = nullptr;
    QAction *BrowseFolder = nullptr;
    QAction *BrowseFile = nullptr;
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;
};

} // namespace pelvo
