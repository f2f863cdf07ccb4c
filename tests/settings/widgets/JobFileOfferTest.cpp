#include "settings/widgets/JobFileOffer.h"

#include "ScriptedPrompter.h"
#include "shared/ConstStr.h"

#include <gtest/gtest.h>

using namespace zentavo;
using platform::PromptButton;

TEST(JobFileOffer, RunsTheEditorOnlyWhenTheUserSaysYes)
{
    const struct {
        PromptButton answer;
        bool editorRan;
        bool offered;
    } cases[] = {
        {PromptButton::Yes, true, true},
        {PromptButton::Yes, false, false}, // the editor could not be started
        {PromptButton::No, true, false},
    };
    for (const auto &c : cases) {
        auto scripted = std::make_unique<ScriptedPrompter>();
        ScriptedPrompter &prompts = *scripted;
        platform::setPrompter(std::move(scripted));
        prompts.buttons = {c.answer};
        int runs = 0;
        const bool offered = OfferJobFileEditor(QStringLiteral("Title"), [&] {
            ++runs;
            return c.editorRan;
        });
        EXPECT_EQ(offered, c.offered);
        EXPECT_EQ(runs, c.answer == PromptButton::Yes ? 1 : 0);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Title"));
        EXPECT_EQ(prompts.messages[0].text, sRunEditor1 + u'\r' + sRunEditor2);
        EXPECT_TRUE(prompts.messages[0].help) << "the box offers its help topic";
        platform::setPrompter(nullptr);
    }
}
