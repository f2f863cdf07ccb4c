#pragma once

#include "platform/Prompter.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace platform {

// The find dialog: the text, match case and the direction up or down.
class FindDialog final : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(const FindRequest &request, QWidget *parent = nullptr);

    FindRequest answer() const;

    // Shows the dialog with the modality given; nullopt when cancelled.
    static std::optional<FindRequest> ask(const FindRequest &request, QWidget *parent, Qt::WindowModality modality);

private:
    FindRequest m_request;
    QLineEdit *m_text = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QRadioButton *m_down = nullptr;
};

} // namespace platform
