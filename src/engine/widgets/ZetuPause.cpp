#include "ZetuPause.h"

#include "engine/PauseCountdown.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/widgets/DialogRunner.h"
#include "platform/widgets/WindowPlacement.h"
#include "shared/ConstStr.h"
#include "shared/SuiteMessages.h"
#include "shared/widgets/FormBuilders.h"
#include "shared/widgets/LocalizeForm.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace zentavo {

TFormPause::TFormPause(QWidget *owner, const QString &ownerCaption) : QDialog(owner), m_ownerCaption(ownerCaption)
{
    FormCreate();
    // Shown from the command line before the window manager has placed the
    // main window: it follows the window to where it goes.
    if (owner != nullptr)
        platform::KeepCentredOn(*this, *owner);
}

TFormPause::~TFormPause() = default;

void TFormPause::FormCreate()
{
    setObjectName(QStringLiteral("FormPause"));
    setWindowTitle(CaptionZentavo);

    LabelAutoRun = new QLabel(QStringLiteral("Before automatic start remained:"), this);
    LabelAutoRun->setObjectName(QStringLiteral("LabelAutoRun"));
    LabelTime = new QLabel(this);
    LabelTime->setObjectName(QStringLiteral("LabelTime"));
    QFont bold = LabelTime->font();
    bold.setBold(true);
    LabelTime->setFont(bold);
    CheckListBox = new QListWidget(this);
    CheckListBox->setObjectName(QStringLiteral("CheckListBox"));
    ButtonRun = new QPushButton(QStringLiteral("Start"), this);
    ButtonRun->setObjectName(QStringLiteral("ButtonRun"));
    ButtonRun->setDefault(true);
    ButtonCancel = new QPushButton(QStringLiteral("Cancel"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    Timer = new QTimer(this);
    Timer->setInterval(100);

    auto *timeRow = new QHBoxLayout;
    timeRow->addWidget(LabelAutoRun);
    timeRow->addWidget(LabelTime);
    timeRow->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonRun);
    buttons->addWidget(ButtonCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(timeRow);
    layout->addWidget(CheckListBox);
    layout->addLayout(buttons);

    connect(ButtonRun, &QPushButton::clicked, this, &TFormPause::ButtonRunClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TFormPause::WMClose);
    connect(Timer, &QTimer::timeout, this, &TFormPause::TimerTimer);
    LocalizeForm(this);
    forms::singleBorder(this);
}

void TFormPause::SetJobs(const TBlocks &blocks, bool choosable)
{
    CheckListBox->clear();
    for (const TBlock &block : blocks) {
        auto *line = new QListWidgetItem(block.GetStr(Title), CheckListBox);
        line->setFlags(choosable ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable
                                 : Qt::ItemIsEnabled);
        line->setCheckState(block.GetFlag(Enabled) ? Qt::Checked : Qt::Unchecked);
    }
    CheckListBox->setEnabled(choosable);
    if (!choosable)
        CheckListBox->setStyleSheet(QStringLiteral("QListWidget { background: palette(button); }"));
}

std::vector<bool> TFormPause::Checked() const
{
    std::vector<bool> checked;
    checked.reserve(CheckListBox->count());
    for (int i = 0; i < CheckListBox->count(); ++i)
        checked.push_back(CheckListBox->item(i)->checkState() == Qt::Checked);
    return checked;
}

void TFormPause::StartTimer(std::optional<int> minutes, const QDateTime &from)
{
    m_minutes = minutes;
    m_countFrom = from;
    TimerTimer();
    Timer->start();
}

void TFormPause::TimerTimer()
{
    const std::vector<bool> checked = Checked();
    const bool anyChecked = std::find(checked.begin(), checked.end(), true) != checked.end();
    if (ButtonRun->isEnabled() != anyChecked)
        ButtonRun->setEnabled(anyChecked);
    if (!m_minutes) {
        if (LabelTime->text() != sNotTime)
            LabelTime->setText(sNotTime);
        return;
    }
    const qint64 remaining = pausecountdown::RemainingMs(m_countFrom, *m_minutes, platform::now());
    LabelTime->setText(pausecountdown::RemainingText(remaining));
    if (remaining < 0 && isVisible()) {
        Timer->stop();
        accept();
    }
}

void TFormPause::ButtonRunClick()
{
    Timer->stop();
    accept();
}

void TFormPause::WMClose()
{
    const platform::PromptButton answer
        = platform::prompter().message({m_ownerCaption,
                                        sQuestionCancel,
                                        platform::PromptIcon::Question,
                                        platform::PromptButton::Yes | platform::PromptButton::No,
                                        {}});
    if (answer == platform::PromptButton::Yes) {
        Timer->stop();
        QDialog::reject();
    }
}

void TFormPause::reject()
{
    WMClose();
}

void TFormPause::closeEvent(QCloseEvent *event)
{
    event->ignore();
    WMClose();
}

bool ChooseJobs(QWidget *owner, const QString &ownerCaption, TBlocks &blocks, const ZentavoSettings &settings,
                const QDateTime &requestedAt)
{
    if (!settings.CheckBoxMenu && !settings.CheckBoxPause)
        return true;
    TFormPause dialog(owner, ownerCaption);
    dialog.SetJobs(blocks, settings.CheckBoxMenu);
    dialog.StartTimer(pausecountdown::Minutes(settings.CheckBoxTime, settings.EditTime), requestedAt);
    // A countdown already over starts the run as soon as the dialog shows.
    const bool started = platform::runDialog(dialog) == QDialog::Accepted;
    if (settings.CheckBoxMenu) {
        const std::vector<bool> checked = dialog.Checked();
        for (std::size_t i = 0; i < blocks.size() && i < checked.size(); ++i)
            blocks[i].SetFlag(Enabled, checked[i] ? 1 : 0);
    }
    return started;
}

} // namespace zentavo
