#include "ZetuPause.h"

#include "ConstStr.h"
#include "ScriptedPrompter.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "WidgetTest.h"

#include <gtest/gtest.h>

#include <functional>
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
        RunTime = QDateTime::currentDateTime();
    }

    void TearDown() override { platform::setPrompter(nullptr); }

    // Acts on the start dialog once it is shown; a dialog that stays open
    // past the acts is closed by a Yes to the cancel question.
    void whenShown(std::function<void(TFormPause &)> act)
    {
        QTimer::singleShot(200, [this, act] {
            auto *dialog = qobject_cast<TFormPause *>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            seen = true;
            act(*dialog);
        });
    }

    ScriptedPrompter *prompts = nullptr;
    TBlocks jobs;
    ZentavoSettings settings;
    bool seen = false;
};

} // namespace

TEST_F(ChooseJobsTest, WithoutMenuOrPauseNoDialogIsShown)
{
    EXPECT_TRUE(ChooseJobs(nullptr, QStringLiteral("The Zentavo"), jobs, settings));
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(ChooseJobsTest, JobMenuChoiceBecomesTheEnabledFlagsEvenOnCancel)
{
    settings.CheckBoxMenu = true;
    prompts->buttons = {PromptButton::No, PromptButton::Yes};
    bool startWasEnabled = true;
    whenShown([&](TFormPause &dialog) {
        EXPECT_EQ(dialog.CheckListBox->count(), 2);
        EXPECT_EQ(dialog.LabelTime->text(), sNotTime);
        dialog.CheckListBox->item(0)->setCheckState(Qt::Unchecked);
        QTimer::singleShot(300, &dialog, [&dialog, &startWasEnabled] {
            startWasEnabled = dialog.ButtonRun->isEnabled();
            dialog.ButtonCancel->click(); // No: stays open
            dialog.ButtonCancel->click(); // Yes: closes
        });
    });
    EXPECT_FALSE(ChooseJobs(nullptr, QStringLiteral("The Zentavo"), jobs, settings));
    EXPECT_TRUE(seen);
    EXPECT_FALSE(startWasEnabled);
    EXPECT_EQ(prompts->messages.size(), 2u);
    EXPECT_EQ(prompts->messages[0].text, sQuestionCancel);
    EXPECT_EQ(jobs[0].GetFlag(Enabled), 0);
    EXPECT_EQ(jobs[1].GetFlag(Enabled), 0);
}

TEST_F(ChooseJobsTest, CountdownThatIsOverStartsTheRunByItself)
{
    settings.CheckBoxPause = true;
    settings.CheckBoxTime = true;
    settings.EditTime = QStringLiteral("1");
    RunTime = QDateTime::currentDateTime().addSecs(-120);
    QTimer guard;
    guard.setSingleShot(true);
    guard.callOnTimeout([] {
        if (auto *dialog = QApplication::activeModalWidget())
            dialog->hide(); // never reached when the countdown works
    });
    guard.start(10000);
    EXPECT_TRUE(ChooseJobs(nullptr, QStringLiteral("The Zentavo"), jobs, settings));
    EXPECT_TRUE(guard.isActive());
    // A pause does not change the choice of jobs.
    EXPECT_EQ(jobs[1].GetFlag(Enabled), 0);
}

TEST_F(ChooseJobsTest, TimeLimitThatIsNoNumberWaitsForTheUser)
{
    settings.CheckBoxPause = true;
    settings.CheckBoxTime = true;
    settings.EditTime = QStringLiteral("soon");
    whenShown([](TFormPause &dialog) {
        EXPECT_FALSE(dialog.CheckListBox->isEnabled());
        EXPECT_EQ(dialog.LabelTime->text(), sNotTime);
        dialog.ButtonRun->click();
    });
    EXPECT_TRUE(ChooseJobs(nullptr, QStringLiteral("The Zentavo"), jobs, settings));
    EXPECT_TRUE(seen);
}
