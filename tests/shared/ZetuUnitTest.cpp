#include "shared/ZetuUnit.h"
#include "shared/DurationText.h"

#include "ScriptedPrompter.h"
#include "platform/PowerControl.h"

#include <gtest/gtest.h>

using namespace zentavo;

TEST(IntPow, PowersAndWrapsOnOverflow)
{
    EXPECT_EQ(IntPow(2, 0), 1);
    EXPECT_EQ(IntPow(0, 0), 1);
    EXPECT_EQ(IntPow(0, 3), 0);
    EXPECT_EQ(IntPow(2, 6), 64);
    EXPECT_EQ(IntPow(-3, 3), -27);
    EXPECT_EQ(IntPow(2, 31), std::numeric_limits<qint32>::min());
    EXPECT_EQ(IntPow(2, 32), 0);
    EXPECT_EQ(IntPow(3, 21), static_cast<qint32>(10460353203LL & 0xFFFFFFFF));
}

TEST(SelectFolder, TakesTheChosenFolderOnly)
{
    auto owned = std::make_unique<ScriptedPrompter>();
    ScriptedPrompter &prompter = *owned;
    platform::setPrompter(std::move(owned));
    prompter.texts = {QStringLiteral("/chosen"), std::nullopt};

    QString folder = QStringLiteral("/start");
    EXPECT_TRUE(SelectFolder(QStringLiteral("Report folder"), QStringLiteral("/root"), folder));
    EXPECT_EQ(folder, QStringLiteral("/chosen"));
    ASSERT_EQ(prompter.folders.size(), 1u);
    EXPECT_EQ(prompter.folders[0].title, QStringLiteral("Report folder"));
    EXPECT_EQ(prompter.folders[0].root, QStringLiteral("/root"));
    EXPECT_EQ(prompter.folders[0].start, QStringLiteral("/start"));

    EXPECT_FALSE(SelectFolder(QStringLiteral("Again"), QString(), folder));
    EXPECT_EQ(folder, QStringLiteral("/chosen"));
    platform::setPrompter(nullptr);
}

TEST(RunProgram, TrueOnlyWhenStarted)
{
    EXPECT_FALSE(RunProgram(QStringLiteral("/nonexistent/editor \"job.dat\""), true));
    EXPECT_TRUE(RunProgram(QStringLiteral("/bin/true"), true));
}

TEST(PowerOffComputer, GoesThroughTheInstalledControl)
{
    class Accepting final : public platform::PowerControl {
    public:
        bool powerOff() override { return true; }
    };
    EXPECT_FALSE(PowerOffComputer());
    platform::setPowerControl(std::make_unique<Accepting>());
    EXPECT_TRUE(PowerOffComputer());
    platform::setPowerControl(nullptr);
}

TEST(VersionRoutines, EmptyWithoutVersionBlock)
{
    EXPECT_TRUE(GetProductName().isEmpty());
    EXPECT_TRUE(GetVersionInfoStr().isEmpty());
}

TEST(DurationText, IsHoursMinutesSecondsWithoutZoneOrDayWrap)
{
    const std::pair<qint64, const char *> cases[] = {{0, "00:00:00"},
                                                     {26, "00:00:26"},
                                                     {3600 + 62, "01:01:02"},
                                                     {27 * 3600 + 3 * 60 + 9, "27:03:09"},
                                                     {-4, "00:00:00"}};
    for (const auto &[seconds, text] : cases)
        EXPECT_EQ(zentavo::DurationText(seconds), QLatin1String(text)) << seconds;
}
