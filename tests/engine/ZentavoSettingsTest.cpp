#include "engine/ZentavoSettings.h"

#include <gtest/gtest.h>

using namespace zentavo;

TEST(ZentavoSettings, TakesTheStartChoicesAndTheMailFromTheStoredSettings)
{
    TVorrinControls controls;
    controls.EditFJob = QStringLiteral("/home/Me/Jobs.dat");
    controls.CheckBoxMenu = true;
    controls.CheckBoxTime = true;
    controls.EditTime = QStringLiteral("5");
    controls.EditHost = QStringLiteral("mail.example.org");
    controls.EditPort = QStringLiteral("2525");
    controls.CheckBoxAuth = true;
    controls.EditUserName = QStringLiteral("me");
    controls.CheckBoxAClose = true;
    TVorrinCopies copies;
    copies.ButtonRepDirHint = QStringLiteral("/var/reports/");

    const ZentavoSettings settings = zentavoSettingsFrom({controls, copies}, QStringLiteral("/opt/zentavo"));
    EXPECT_EQ(settings.EditFJob, controls.EditFJob);
    EXPECT_TRUE(settings.CheckBoxMenu);
    EXPECT_FALSE(settings.CheckBoxPause);
    EXPECT_TRUE(settings.CheckBoxTime);
    EXPECT_EQ(settings.EditTime, QStringLiteral("5"));
    EXPECT_EQ(settings.Mail.EditHost, controls.EditHost);
    EXPECT_EQ(settings.Mail.EditPort, controls.EditPort);
    EXPECT_TRUE(settings.Mail.CheckBoxAuth);
    EXPECT_EQ(settings.Mail.EditUserName, controls.EditUserName);
    EXPECT_TRUE(settings.Run.CheckBoxAClose);
    EXPECT_EQ(settings.Run.ButtonRepDir, copies.ButtonRepDirHint);
}
