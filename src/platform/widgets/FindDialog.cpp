#include "FindDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace platform {

FindDialog::FindDialog(const FindRequest &request, QWidget *parent) : QDialog(parent), m_request(request)
{
    setWindowTitle(request.title);

    m_text = new QLineEdit(request.text, this);
    m_matchCase = new QCheckBox(tr("Match &case"), this);
    m_matchCase->setChecked(request.matchCase);

    auto *direction = new QGroupBox(tr("Direction"), this);
    auto *up = new QRadioButton(tr("&Up"), direction);
    m_down = new QRadioButton(tr("&Down"), direction);
    (request.down ? m_down : up)->setChecked(true);
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(up);
    directionLayout->addWidget(m_down);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton *findNext = buttons->addButton(tr("&Find Next"), QDialogButtonBox::AcceptRole);
    findNext->setDefault(true);
    findNext->setEnabled(!m_text->text().isEmpty());
    connect(m_text, &QLineEdit::textChanged, findNext,
            [findNext](const QString &text) { findNext->setEnabled(!text.isEmpty()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(tr("Fi&nd what:"), m_text);
    auto *options = new QHBoxLayout;
    options->addWidget(m_matchCase);
    options->addWidget(direction);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(options);
    layout->addWidget(buttons);
}

FindRequest FindDialog::answer() const
{
    FindRequest answer = m_request;
    answer.text = m_text->text();
    answer.matchCase = m_matchCase->isChecked();
    answer.down = m_down->isChecked();
    return answer;
}

std::optional<FindRequest> FindDialog::ask(const FindRequest &request, QWidget *parent, Qt::WindowModality modality)
{
    FindDialog dialog(request, parent);
    dialog.setWindowModality(modality);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.answer();
}

} // namespace platform
