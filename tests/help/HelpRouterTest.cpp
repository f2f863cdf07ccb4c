#include "help/HelpRouter.h"
#include "RecordingHelpRuntime.h"
#include "help/HelpCommands.h"
#include "help/HelpError.h"

#include <gtest/gtest.h>

using namespace help;

namespace {

class HelpRouterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        router = std::make_unique<THelpRouter>();
        router->HelpType = THelpType::htHTMLhelp;
        router->Helpfile = QStringLiteral("/prog/Zentavo.hlp");
        runtime = &RecordingHelpRuntime::install();
    }
    void TearDown() override
    {
        router.reset();
        UnloadHtmlHelp();
        SetHtmlHelpLoader({});
    }

    std::unique_ptr<THelpRouter> router;
    RecordingHelpRuntime *runtime = nullptr;
};

TEST_F(HelpRouterTest, TranslatesTheApplicationsHelpCommands)
{
    const struct {
        quint16 command;
        qint64 data;
        QString call;
        bool result;
    } cases[] = {
        {HELP_CONTEXT, 12, QStringLiteral("context /prog/Zentavo.chm 12"), true},
        {HELP_CONTENTS, 0, QStringLiteral("contents /prog/Zentavo.chm"), true},
        {HELP_FINDER, 0, QStringLiteral("contents /prog/Zentavo.chm"), true},
        {HELP_TAB, 0, QStringLiteral("contents /prog/Zentavo.chm"), true},
        {HELP_TAB, 1, QStringLiteral("index /prog/Zentavo.chm"), true},
        {HELP_KEY, 0, QStringLiteral("index /prog/Zentavo.chm"), true},
        {HELP_PARTIALKEY, 0, QStringLiteral("index /prog/Zentavo.chm"), true},
        {HELP_QUIT, 0, QStringLiteral("close all"), false},
        {HELP_CONTEXTPOPUP, 7, QStringLiteral("popup /prog/Zentavo.chm::/CSHelp.txt 7 \"\" at 400,300"), true},
    };
    for (const auto &c : cases) {
        runtime->calls.clear();
        EXPECT_EQ(ApplicationHelpCommand(c.command, c.data), c.result) << c.command;
        EXPECT_EQ(runtime->calls, QStringList{c.call}) << c.command;
    }
    EXPECT_EQ(THelpRouter::CurrentHelpFile(), QStringLiteral("/prog/Zentavo.hlp"));
    runtime->calls.clear();
    EXPECT_FALSE(ApplicationHelpCommand(99, 0));
    EXPECT_TRUE(runtime->calls.isEmpty());
}

TEST_F(HelpRouterTest, PopupPointIsUsedOnceThenTheCursor)
{
    ApplicationHelpCommand(HELP_SETPOPUP_POS, PackPopupPoint(120, -5));
    ApplicationHelpCommand(HELP_CONTEXTPOPUP, 3);
    ApplicationHelpCommand(HELP_CONTEXTPOPUP, 4);
    EXPECT_EQ(runtime->calls,
              (QStringList{QStringLiteral("popup /prog/Zentavo.chm::/CSHelp.txt 3 \"\" at 120,-5"),
                           QStringLiteral("popup /prog/Zentavo.chm::/CSHelp.txt 4 \"\" at 400,300")}));
}

TEST_F(HelpRouterTest, MainShowTypeOpensTopicsInsteadOfPopups)
{
    router->ShowType = TShowType::stMain;
    ApplicationHelpCommand(HELP_SETPOPUP_POS, PackPopupPoint(10, 10));
    ApplicationHelpCommand(HELP_CONTEXTPOPUP, 21);
    EXPECT_EQ(runtime->calls, QStringList{QStringLiteral("context /prog/Zentavo.chm 21")});
}

TEST_F(HelpRouterTest, OnHelpAndThePreviousHandlerComeFirst)
{
    router.reset();
    QStringList seen;
    SetApplicationHelpEvent([&](quint16 command, qint64, bool &callHelp) {
        seen << QStringLiteral("previous %1").arg(command);
        callHelp = command != HELP_CONTENTS;
        return true;
    });
    router = std::make_unique<THelpRouter>();
    router->HelpType = THelpType::htHTMLhelp;
    router->OnHelp = [&](quint16 command, qint64, bool &callHelp) {
        seen << QStringLiteral("own %1").arg(command);
        callHelp = command != HELP_CONTEXT;
        return false;
    };
    EXPECT_FALSE(ApplicationHelpCommand(HELP_CONTEXT, 1));
    EXPECT_TRUE(ApplicationHelpCommand(HELP_CONTENTS, 0));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("own 1"), QStringLiteral("own 3"), QStringLiteral("previous 3")}));
    EXPECT_TRUE(runtime->calls.isEmpty());
    // The router gives the application its handler back.
    router.reset();
    ApplicationHelpCommand(HELP_FINDER, 0);
    EXPECT_EQ(seen.last(), QStringLiteral("previous 11"));
    SetApplicationHelpEvent({});
}

TEST_F(HelpRouterTest, ShowTopicNamesTheTopicFile)
{
    const struct {
        bool validate;
        QString topic;
        QString call;
    } cases[] = {
        {false, QStringLiteral("CreateJob"), QStringLiteral("topic /prog/Zentavo.chm::/CreateJob.htm")},
        {true, QStringLiteral("A b.c"), QStringLiteral("topic /prog/Zentavo.chm::/A_b_c.htm")},
        {true, QStringLiteral("Page.HTML"), QStringLiteral("topic /prog/Zentavo.chm::/Page.HTML")},
        {false, QString(), QStringLiteral("topic /prog/Zentavo.chm::/")},
    };
    for (const auto &c : cases) {
        runtime->calls.clear();
        router->ValidateID = c.validate;
        EXPECT_TRUE(router->ShowTopic(QString(), c.topic));
        EXPECT_EQ(runtime->calls, QStringList{c.call});
    }
    runtime->calls.clear();
    EXPECT_TRUE(router->ShowTopic(QStringLiteral("/other/Other"), QStringLiteral("X")));
    EXPECT_EQ(runtime->calls, QStringList{QStringLiteral("topic /other/Other.chm::/X.htm")});
    // There is no WinHelp to show topics with.
    router->HelpType = THelpType::htWinhelp;
    EXPECT_FALSE(router->ShowTopic(QString(), QStringLiteral("CreateJob")));
}

TEST_F(HelpRouterTest, PopupsOfTheirOwnTextNeedNoFile)
{
    router->CHMPopupTopics.clear();
    EXPECT_TRUE(router->ShowPopup(1, 2, QStringLiteral("hello"), 5));
    EXPECT_TRUE(router->ShowPopup(1, 2, QString(), 5));
    EXPECT_EQ(runtime->calls,
              (QStringList{QStringLiteral("popup ::/ 0 \"hello\" at 1,2"),
                           QStringLiteral("popup /prog/Zentavo.chm::/CSHelp.txt 5 \"\" at 1,2")}));
}

TEST(HelpRouterWithoutRuntimeTest, NothingLoadsForQuitAndRequestsFallBack)
{
    SetHtmlHelpLoader({});
    UnloadHtmlHelp();
    THelpRouter router;
    router.HelpType = THelpType::htHTMLhelp;
    EXPECT_TRUE(ApplicationHelpCommand(HELP_QUIT, 0));
    EXPECT_FALSE(IsHtmlHelpLoaded());
    // With no runtime the application is left to handle help itself.
    bool callHelp = true;
    EXPECT_FALSE(router.RouteHelp(HELP_CONTEXT, 1, callHelp));
    EXPECT_TRUE(callHelp);
    EXPECT_FALSE(router.ShowTopic(QString(), QStringLiteral("CreateJob")));
    EXPECT_FALSE(router.ShowPopup(0, 0, QString(), 1));

    // Quit before any help was shown loads nothing even with a runtime at hand.
    int loads = 0;
    SetHtmlHelpLoader([&loads] {
        ++loads;
        return std::make_unique<RecordingHelpRuntime>();
    });
    EXPECT_TRUE(ApplicationHelpCommand(HELP_QUIT, 0));
    EXPECT_EQ(loads, 0);
    SetHtmlHelpLoader({});
}

TEST(HelpRouterSingleTest, ASecondRouterIsRefused)
{
    THelpRouter first;
    try {
        THelpRouter second;
        ADD_FAILURE() << "a second router was made";
    } catch (const EHelpError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Multiple instances of THelpRouter are not allowed"));
    }
    EXPECT_EQ(THelpRouter::Instance(), &first);
}

TEST(TopicToFileNameTest, MakesSafeFileNames)
{
    EXPECT_EQ(THelpRouter::TopicToFileName(QStringLiteral("a b%c.d\"e'f,g/h:i?j\\k|l\u00BFm&n*o<p>q[r]s")),
              QStringLiteral("a_b_c_defghijklm+n+o~p~q(r)s"));
    EXPECT_EQ(THelpRouter::TopicToFileName(QStringLiteral("\u00C4\u00E4\u00D6\u00F6\u00DC\u00FC\u00DF")),
              QStringLiteral("aaoouus"));
}

} // namespace
