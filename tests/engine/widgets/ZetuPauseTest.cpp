#include "engine/widgets/ZetuPause.h"

#include "FakeClock.h"
#include "ScriptedDialogs.h"
#include "ScriptedPrompter.h"
#include "TestApplication.h"
#include "shared/ConstStr.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "WidgetTest.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zentavo;
using platform::PromptButton;

namespace {

class ChooseJobsTest : public WidgetTest {
protected:
    void SetUp() override
    {
        auto scripted = std::make_unique<ScriptedPrompter>();
        prompts = scripted.get();
        platform::setPrompter(std::move(scripted));
        jobs.resize(2);
        jobs[0].SetStr(Title, QStringLiteral("First"));
        jobs[1].SetStr(Title, QStringLiteral("Second"));
        jobs[1].SetFlag(Enabled, 0);
    }

    void TearDown() override { platform::setPrompter(nullptr); }

    // Plays the user's part on the start dialog once it is built.
    void whenShown(std::function<void(TFormPause &)> act)
    {
        dialogs.expect(QStringLiteral("FormPause"), [act](QDialog &dialog) {
            act(static_cast<TFormPause &>(dialog));
            return dialog.result();
        });
    }

    FakeClockScope clock{QDateTime(QDate(2026, 3, 2), QTime(10, 0))};
    // When the run was asked for.
    QDateTime requestedAt = clock.clock().now();
    ScriptedDialogs dialogs;
    ScriptedPrompter *prompts = nullptr;
    TBlocks jobs;
    ZentavoSettings settings;
};

} // namespace

TEST_F(ChooseJobsTest, TheDialogStaysCentredOnItsOwnerWhereverTheOwnerIsPlaced)
{
    QWidget owner;
    owner.resize(400, 300);
    owner.show();
    settings.CheckBoxPause = true;
    QList<QPoint> offsets;
    whenShown([&](TFormPause &dialog) {
        dialog.show();
        // Where the window manager puts the owner after the dialog is up.
        for (const QPoint at : {QPoint(30, 20), QPoint(250, 180)}) {
            owner.move(at);
            testapp::waitUntil([&] { return owner.pos() == at; });
            testapp::waitUntil([&] { return dialog.frameGeometry().center() == owner.frameGeometry().center(); }, 1000);
            offsets << dialog.frameGeometry().center() - owner.frameGeometry().center();
        }
        dialog.ButtonRun->click();
    });
    EXPECT_TRUE(ChooseJobs(&owner, QStringLiteral("The Zentavo"), jobs, settings, requestedAt));
    EXPECT_EQ(offsets, (QList<QPoint>{QPoint(), QPoint()}));
}

TEST_F(ChooseJobsTest, WithoutMenuOrPauseNoDialogIsShown)
{
    EXPECT_TRUE(ChooseJobs(nullptr, QStringLiteral("The Zentavo"), jobs, settings, requestedAt));
    EXPECT_TRUE(prompts->messages.empty());
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(ChooseJobsTest, JobMenuChoiceBecomesTheEnabledFlagsEvenOnCancel)
{
    settings.CheckBoxMenu = true;
    prompts->buttons = {PromptButton::No, PromptButton::Yes};
    bool startWasEnabled = true;
    bool stayedOpenOnNo = false;
    whenShown([&](TFormPause &dialog) {
        EXPECT_EQ(dialog.CheckListBox->count(), 2);
        EXPECT_EQ(dialog.LabelTime->text(), sNotTime);
        dialog.CheckListBox->item(0)->setCheckState(Qt::Unchecked);
        dialog.TimerTimer();
        startWasEnabled = dialog.ButtonRun->isEnabled();
        dialog.show();
        dialog.ButtonCancel->click(); // No: stays open
        stayedOpenOnNo = dialog.isVisible();
        dialog.ButtonCancel->click(); // Yes: closes
    });
    EXPECT_FALSE(ChooseJobs(nullptr, QStringLiteral("The Zentavo"), jobs, settings, requestedAt));
    EXPECT_TRUE(dialogs.allPlayed());
    EXPECT_FALSE(startWasEnabled);
    EXPECT_TRUE(stayedOpenOnNo);
    EXPECT_EQ(prompts->messages.size(), 2u);
    EXPECT_EQ(prompts->messages[0].text, sQuestionCancel);
    EXPECT_EQ(jobs[0].GetFlag(Enabled), 0);
    EXPECT_EQ(jobs[1].GetFlag(Enabled), 0);
}

TEST_F(ChooseJobsTest, CountdownThatIsOverStartsTheRunByItself)
{
    settings.CheckBoxPause = true;
    settings.CheckBoxTime = true;
    settings.EditTime = QStringLiteral("2");
    whenShown([this](TFormPause &dialog) {
        dialog.show();
        clock.clock().advanceSeconds(119);
        dialog.TimerTimer();
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << "started a second early";
        clock.clock().advanceSeconds(2);
        dialog.TimerTimer();
    });
    EXPECT_TRUE(ChooseJobs(nullptr, QStringLiteral("The Zentavo"), jobs, settings, requestedAt));
    // A pause does not change the choice of jobs.
    EXPECT_EQ(jobs[1].GetFlag(Enabled), 0);
}

TEST_F(ChooseJobsTest, TimeLimitThatIsNoNumberWaitsForTheUser)
{
    settings.CheckBoxPause = true;
    settings.CheckBoxTime = true;
    settings.EditTime = QStringLiteral("soon");
    whenShown([this](TFormPause &dialog) {
        EXPECT_FALSE(dialog.CheckListBox->isEnabled());
        dialog.show();
        clock.clock().advanceSeconds(3600);
        dialog.TimerTimer();
        EXPECT_EQ(dialog.LabelTime->text(), sNotTime);
        EXPECT_TRUE(dialog.isVisible());
        dialog.ButtonRun->click();
    });
    EXPECT_TRUE(ChooseJobs(nullptr, QStringLiteral("The Zentavo"), jobs, settings, requestedAt));
}

TEST_F(ChooseJobsTest, CountdownCountsFromTheRequestNotFromTheDialog)
{
    settings.CheckBoxPause = true;
    settings.CheckBoxTime = true;
    settings.EditTime = QStringLiteral("2");
    // The run was asked for almost two minutes before the dialog came up.
    requestedAt = clock.clock().now().addSecs(-119);
    whenShown([this](TFormPause &dialog) {
        dialog.show();
        dialog.TimerTimer();
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << "started a second early";
        clock.clock().advanceSeconds(2);
        dialog.TimerTimer();
    });
    EXPECT_TRUE(ChooseJobs(nullptr, QStringLiteral("The Zentavo"), jobs, settings, requestedAt));
}
