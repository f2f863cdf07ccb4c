#include "settings/VorrinStore.h"

#include "ScarceSpace.h"
#include "TestApplication.h"
#include "TestFiles.h"
#include "platform/FileNames.h"
#include "platform/RegistryFormat.h"
#include "platform/RegistryKey.h"
#include "platform/WindowMessages.h"
#include "shared/SuiteMessages.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace zentavo;

namespace {

const QString Main = QStringLiteral("Software/Omberly Soft/The Zentavo");
const QString Schedule = Main + QStringLiteral("/Vorrin");
const QString Mail = Main + QStringLiteral("/EMail");

class VorrinStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        platform::setRegistryFolder(m_dir.filePath(QStringLiteral("config")));
        m_context.productTitle = QStringLiteral("The Zentavo");
        m_context.defaultFolder = m_dir.path() + QStringLiteral("/program/");
        m_context.temporaryFolder = QStringLiteral("/var/tmp");
        m_context.mainProgram.found = true;
        m_context.mainProgram.ProductVersion = QStringLiteral("7.1 for Win32");
        m_context.mainProgram.FileVersion = QStringLiteral("7.1.13.1");
    }
    void TearDown() override { platform::setRegistryFolder(QString()); }

    // The whole store as entries "key/name" with typed values.
    QSettings::SettingsMap store() const
    {
        return platform::registryformat::parse(testfiles::readBytes(platform::registryFileName()))
            .value_or(QSettings::SettingsMap());
    }

    void writeStore(const QByteArray &text) const
    {
        QDir().mkpath(QFileInfo(platform::registryFileName()).path());
        testfiles::writeBytes(platform::registryFileName(), text);
    }

    void load() { LoadVorrinSettings(m_controls, m_copies, m_context); }

    QTemporaryDir m_dir;
    VorrinLoadContext m_context;
    TVorrinControls m_controls;
    TVorrinCopies m_copies;
};

// Every control changed from what an empty store loads.
TVorrinControls everythingChanged(const QString &folder)
{
    TVorrinControls c;
    c.EditFJob = folder + QStringLiteral("/jobs, daily.dat");
    c.ComboBoxPrior = 2;
    c.CheckBoxDay = {false, true, false, false, false, false, true};
    c.CheckBoxPause = c.CheckBoxMenu = c.CheckBoxTime = true;
    c.EditTime = QStringLiteral("15");
    c.CheckBoxAClose = c.CheckBoxAPrint = c.CheckBoxASend = c.CheckBoxAOnlyErrors = c.CheckBoxASumRep = true;
    c.CheckBoxAPower = true;
    c.RadioButtonArcAdd = false;
    c.ComboBoxComp = 3;
    c.CheckBoxRecurse = false;
    c.CheckBoxSFX = c.CheckBoxDelBad = c.CheckBoxEmptyFolders = true;
    c.CheckBoxInfoPath = false;
    c.RadioButtonFPath = c.CheckBoxWithDrive = true;
    c.RadioButtonOEM = false;
    c.ComboBoxVolIndex = -1;
    c.ComboBoxVolText = QStringLiteral("123456");
    c.EditTemp = folder + QStringLiteral("/temp\\dir/");
    c.EditEMail = QStringLiteral("admin@example.org");
    c.EditHost = QStringLiteral("127.0.0.1");
    c.EditPort = QStringLiteral("2525");
    c.CheckBoxHelo = false;
    c.EditSubject = QStringLiteral("Backup; report = \u041e\u0442\u0447\u0435\u0442");
    c.EditFrom = QStringLiteral("backup@example.org");
    c.EditUserName = QStringLiteral("user");
    c.EditPassword = QStringLiteral("p=a\\ss\nword");
    c.CheckBoxAuth = true;
    c.CheckBoxRep = false;
    c.CheckBoxRepAdd = false;
    c.CheckBoxRepSize = true;
    c.EditRepSize = QStringLiteral("5");
    c.CheckBoxRun = c.CheckBoxRunAdd = false;
    c.CheckBoxRunSize = true;
    c.EditRunSize = QStringLiteral("64");
    c.Mode = ScheduleMode::Monthly;
    c.CheckBoxOnce = c.CheckBoxNotWeek = c.CheckBoxMin = true;
    c.BitBtnDay[0] = c.BitBtnDay[14] = c.BitBtnDay[30] = true;
    c.ListBoxTimes = {QStringLiteral("07:05"), QStringLiteral("12:30"), QStringLiteral("22:00")};
    return c;
}

} // namespace

TEST_F(VorrinStoreTest, EmptyStoreLoadsEveryDefault)
{
    load();
    const TVorrinControls &c = m_controls;
    EXPECT_TRUE(c.CheckBoxRep && c.CheckBoxRepAdd && c.CheckBoxRun && c.CheckBoxRunAdd && c.CheckBoxInfoPath
                && c.RadioButtonOEM && c.CheckBoxRecurse && c.CheckBoxHelo);
    EXPECT_FALSE(c.CheckBoxMenu || c.CheckBoxPause || c.CheckBoxTime || c.CheckBoxAClose || c.CheckBoxAPrint
                 || c.CheckBoxAOnlyErrors || c.CheckBoxASumRep || c.CheckBoxASend || c.CheckBoxAPower
                 || c.CheckBoxRepSize || c.CheckBoxRunSize || c.RadioButtonArcAdd || c.RadioButtonFPath
                 || c.CheckBoxWithDrive || c.CheckBoxDelBad || c.CheckBoxSFX || c.CheckBoxEmptyFolders || c.CheckBoxAuth
                 || c.CheckBoxNotWeek || c.CheckBoxOnce || c.CheckBoxMin);
    EXPECT_EQ(c.CheckBoxDay, (std::array<bool, 7>{true, false, false, false, false, false, false}));
    EXPECT_EQ(c.ComboBoxComp, 2);
    EXPECT_EQ(c.ComboBoxPrior, 1);
    EXPECT_EQ(c.ComboBoxVolIndex, 0);
    EXPECT_EQ(c.EditTemp, QStringLiteral("/var/tmp/"));
    EXPECT_EQ(c.EditFJob, QString());
    // The fallback sender stands only for a "From" of another type.
    EXPECT_EQ(c.EditFrom, QString());
    EXPECT_TRUE(c.ListBoxTimes.isEmpty());
    EXPECT_EQ(c.Mode, ScheduleMode::Daily);

    TVorrinCopies copies;
    copies.CheckBoxDay1Tag = copies.GroupBoxDaysTag = 1;
    copies.CheckBoxRunTag = copies.CheckBoxRunAddTag = 1;
    copies.ButtonRepDirHint = copies.ButtonRunDirHint = m_context.defaultFolder;
    EXPECT_EQ(m_copies, copies);

    // The load writes nothing but the release of the main program; the three
    // keys exist from now on.
    QSettings::SettingsMap expected;
    expected.insert(Main, QVariant());
    expected.insert(Main + QStringLiteral("/Release"), 13);
    expected.insert(Schedule, QVariant());
    expected.insert(Mail, QVariant());
    EXPECT_EQ(store(), expected);
}

TEST_F(VorrinStoreTest, AStoreThatCannotBeCreatedStillLoadsEveryDefault)
{
    const VorrinSettings fromEmpty = LoadVorrinSettings(m_context);
    testfiles::writeBytes(m_dir.filePath(QStringLiteral("file")), "not a folder");
    platform::setRegistryFolder(m_dir.filePath(QStringLiteral("file/config")));
    const VorrinSettings fromNone = LoadVorrinSettings(m_context);
    EXPECT_EQ(fromNone, fromEmpty);
    EXPECT_TRUE(fromNone.Controls.CheckBoxRep && fromNone.Controls.CheckBoxRun);
    EXPECT_EQ(fromNone.Copies.CheckBoxRunTag, 1);
}

TEST_F(VorrinStoreTest, SaveAndFreshLoadReproduceEveryValue)
{
    load();
    ASSERT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("reports"))));
    m_copies.ButtonRepDirHint = m_dir.filePath(QStringLiteral("reports/"));
    m_copies.ButtonRunDirHint = m_dir.filePath(QStringLiteral("reports/"));
    const TVorrinControls saved = everythingChanged(m_dir.path());
    TVorrinControls validated = saved;
    ASSERT_EQ(ValidateVorrinSettings(validated), VorrinFault::None);
    ASSERT_EQ(validated, saved);
    ASSERT_TRUE(SaveVorrinSettings(saved, m_copies));

    TVorrinCopies expectedCopies;
    expectedCopies.CheckBoxDay1Tag = expectedCopies.GroupBoxDaysTag = 0x42;
    expectedCopies.CheckBoxNotWeekTag = expectedCopies.CheckBoxOnceTag = expectedCopies.CheckBoxMinTag = 1;
    expectedCopies.EditRunSizeTag = 64;
    expectedCopies.ButtonRepDirHint = expectedCopies.ButtonRunDirHint = m_dir.filePath(QStringLiteral("reports/"));
    expectedCopies.ScheduleTimes = saved.ListBoxTimes;
    expectedCopies.ScheduleMonthDays = QStringLiteral("011531");
    EXPECT_EQ(m_copies, expectedCopies);

    const QSettings::SettingsMap values = store();
    const auto integer = [&values](const QString &key, const char *name) {
        const QVariant value = values.value(key + u'/' + QLatin1String(name));
        return value.typeId() == QMetaType::Int ? value.toInt() : -999;
    };
    const auto string = [&values](const QString &key, const char *name) {
        const QVariant value = values.value(key + u'/' + QLatin1String(name));
        return value.typeId() == QMetaType::QString ? value.toString() : QStringLiteral("<not a string>");
    };
    for (const char *name :
         {"Menu", "Pause", "Time", "AutoClose", "AutoPrint", "OnlyErrors", "SummaryRep", "AutoSend", "PowerOff",
          "ReportSize", "RepRunSize", "StoreFullPath", "WithDriveLetter", "DelBad", "SFX", "EmptyFolders"})
        EXPECT_EQ(integer(Main, name), 1) << name;
    for (const char *name :
         {"Report", "ReportAdd", "RepRun", "RepRunAdd", "ArcAdd", "InfoPath", "OEMcharset", "Recurse"})
        EXPECT_EQ(integer(Main, name), 0) << name;
    EXPECT_EQ(integer(Main, "Holidays"), 0x42);
    EXPECT_EQ(integer(Main, "Compress"), 3);
    EXPECT_EQ(integer(Main, "Priority"), 2);
    EXPECT_EQ(integer(Main, "Volume"), -1);
    EXPECT_EQ(integer(Main, "Release"), 13);
    EXPECT_EQ(string(Main, "VolumeS"), QStringLiteral("123456"));
    EXPECT_EQ(string(Main, "TempDir"), saved.EditTemp);
    EXPECT_EQ(string(Main, "DefaultDat"), saved.EditFJob);
    EXPECT_EQ(string(Main, "TimeS"), QStringLiteral("15"));
    EXPECT_EQ(string(Main, "ReportSizeS"), QStringLiteral("5"));
    EXPECT_EQ(string(Main, "RepRunSizeS"), QStringLiteral("64"));
    EXPECT_EQ(string(Main, "ReportDir"), m_copies.ButtonRepDirHint);
    EXPECT_EQ(string(Main, "RepRunDir"), m_copies.ButtonRunDirHint);
    EXPECT_EQ(string(Schedule, "Times"), QStringLiteral("07:05\r\n12:30\r\n22:00\r\n"));
    EXPECT_EQ(integer(Schedule, "DaysOfWeek"), 0);
    EXPECT_EQ(string(Schedule, "DaysOfMonth"), QStringLiteral("011531"));
    for (const char *name : {"NotWeekEnd", "RunOnce", "Minimized"})
        EXPECT_EQ(integer(Schedule, name), 1) << name;
    EXPECT_EQ(string(Mail, "From"), saved.EditFrom);
    EXPECT_EQ(string(Mail, "EMail"), saved.EditEMail);
    EXPECT_EQ(string(Mail, "Subject"), saved.EditSubject);
    EXPECT_EQ(string(Mail, "UserName"), saved.EditUserName);
    EXPECT_EQ(string(Mail, "Password"), saved.EditPassword);
    EXPECT_EQ(string(Mail, "Host"), saved.EditHost);
    EXPECT_EQ(string(Mail, "Port"), saved.EditPort);
    EXPECT_EQ(integer(Mail, "Authentication"), 1);
    EXPECT_EQ(integer(Mail, "Helo"), 0);
    // Nothing else: 37 main values, 6 schedule values, 9 mail values, 3 keys.
    EXPECT_EQ(values.size(), 37 + 6 + 9 + 3);

    TVorrinControls fresh;
    TVorrinCopies freshCopies;
    LoadVorrinSettings(fresh, freshCopies, m_context);
    EXPECT_EQ(fresh, saved);
    EXPECT_EQ(freshCopies, expectedCopies);
}

TEST_F(VorrinStoreTest, UnsavedEditsNeverReachTheCopies)
{
    load();
    TVorrinControls saved = m_controls;
    saved.Mode = ScheduleMode::Weekly;
    saved.DayOfWeek[1] = true;
    saved.CheckBoxRunSize = true;
    saved.EditRunSize = QStringLiteral("10");
    ASSERT_TRUE(SaveVorrinSettings(saved, m_copies));
    const TVorrinCopies afterSave = m_copies;

    m_controls = everythingChanged(m_dir.path());
    load();
    EXPECT_EQ(m_copies, afterSave);
    EXPECT_EQ(m_controls, saved);
    EXPECT_EQ(m_copies.DayOfWeek1Tag, 2);
    EXPECT_EQ(m_copies.EditRunSizeTag, 10);
}

TEST_F(VorrinStoreTest, EmptyOrNonNumericSizeNeverStopsSaveOrLoad)
{
    load();
    TVorrinControls c = m_controls;
    c.CheckBoxRunSize = true;
    c.EditRunSize.clear();
    c.EditHost = QStringLiteral("mail.example.org");
    c.CheckBoxMin = true;
    ASSERT_EQ(ValidateVorrinSettings(c), VorrinFault::None);
    ASSERT_TRUE(SaveVorrinSettings(c, m_copies));
    EXPECT_EQ(m_copies.EditRunSizeTag, 0);
    EXPECT_EQ(store().value(Mail + QStringLiteral("/Host")), QStringLiteral("mail.example.org"));
    EXPECT_EQ(store().value(Schedule + QStringLiteral("/Minimized")), 1);

    // Written by hand: a size text that is no number while the limit is on.
    auto key = platform::RegistryKey::open(MainKeyPath(), platform::RegistryKey::Mode::OpenExisting);
    ASSERT_TRUE(key);
    key->writeString(QStringLiteral("RepRunSizeS"), QStringLiteral("lots"));
    key->writeInteger(QStringLiteral("Compress"), 0);
    ASSERT_TRUE(key->flush());
    TVorrinControls fresh;
    TVorrinCopies freshCopies;
    LoadVorrinSettings(fresh, freshCopies, m_context);
    EXPECT_EQ(fresh.EditRunSize, QStringLiteral("lots"));
    EXPECT_EQ(freshCopies.EditRunSizeTag, 0);
    EXPECT_EQ(fresh.ComboBoxComp, 0);
    EXPECT_TRUE(fresh.CheckBoxMin);
}

TEST_F(VorrinStoreTest, OldVolumeIndexIsMigratedOnce)
{
    writeStore("[Software\\Omberly Soft\\The Zentavo]\nVolume=i:5\n");
    load();
    EXPECT_EQ(m_controls.ComboBoxVolIndex, 6);
    EXPECT_EQ(store().value(Main + QStringLiteral("/Volume")), 6);
    EXPECT_EQ(store().value(Main + QStringLiteral("/Release")), 13);
    load();
    EXPECT_EQ(m_controls.ComboBoxVolIndex, 6);

    // Without a version, or with a release number below the new list's, the
    // stored release still stops a second shift.
    for (const std::optional<QString> &fileVersion :
         {std::optional<QString>(), std::optional<QString>(QStringLiteral("7.1.0.0"))}) {
        writeStore("[Software\\Omberly Soft\\The Zentavo]\nVolume=i:4\nRelease=i:2\n");
        m_context.mainProgram.FileVersion = fileVersion;
        load();
        load();
        EXPECT_EQ(m_controls.ComboBoxVolIndex, 5);
        EXPECT_EQ(store().value(Main + QStringLiteral("/Release")), 5);
    }
    // The last item stays the last item.
    writeStore("[Software\\Omberly Soft\\The Zentavo]\nVolume=i:9\n");
    load();
    EXPECT_EQ(m_controls.ComboBoxVolIndex, 9);
    // A stored index outside the list, or a typed size that is empty, shows "None".
    writeStore("[Software\\Omberly Soft\\The Zentavo]\nRelease=i:13\nVolume=i:12\n");
    load();
    EXPECT_EQ(m_controls.ComboBoxVolIndex, 0);
    writeStore("[Software\\Omberly Soft\\The Zentavo]\nRelease=i:13\nVolume=i:-1\nVolumeS=s:\n");
    load();
    EXPECT_EQ(m_controls.ComboBoxVolIndex, 0);
}

TEST_F(VorrinStoreTest, ScheduleKeyIsReadPastAnUnreadableValue)
{
    // Month days are two-digit pairs in ascending order; the walk ends at a
    // pair out of order or one that is no number, and the key is read on.
    writeStore("[Software\\Omberly Soft\\The Zentavo\\Vorrin]\nTimes=s:22:00\\r\\n07:05\\r\\n\nNotWeekEnd=i:0\n"
               "RunOnce=i:1\nDaysOfWeek=i:0\nDaysOfMonth=s:150102\nMinimized=i:1\n");
    load();
    EXPECT_EQ(m_controls.ListBoxTimes, QStringList({QStringLiteral("07:05"), QStringLiteral("22:00")}));
    EXPECT_EQ(m_controls.Mode, ScheduleMode::Monthly);
    std::array<bool, 31> days{};
    days[14] = true;
    EXPECT_EQ(m_controls.BitBtnDay, days);
    EXPECT_EQ(m_copies.ScheduleMonthDays, QStringLiteral("150102"));
    EXPECT_TRUE(m_controls.CheckBoxMin);

    writeStore("[Software\\Omberly Soft\\The Zentavo\\Vorrin]\nTimes=s:\nNotWeekEnd=i:0\nRunOnce=i:0\n"
               "DaysOfWeek=i:0\nDaysOfMonth=s:01x5\nMinimized=i:0\n");
    load();
    days = {};
    days[0] = true;
    EXPECT_EQ(m_controls.BitBtnDay, days);
    EXPECT_FALSE(m_controls.CheckBoxMin); // read after the bad pair

    // "On startup", and a weekly code with its days.
    writeStore("[Software\\Omberly Soft\\The Zentavo\\Vorrin]\nNotWeekEnd=i:0\nRunOnce=i:1\nDaysOfWeek=i:128\n");
    load();
    EXPECT_EQ(m_controls.Mode, ScheduleMode::OnStartup);
    EXPECT_EQ(m_copies.PanelWeekDaysTag, 128);
    EXPECT_EQ(m_copies.CheckBoxOnceTag, 1);
    writeStore("[Software\\Omberly Soft\\The Zentavo\\Vorrin]\nNotWeekEnd=i:0\nRunOnce=i:1\nDaysOfWeek=i:65\n");
    load();
    EXPECT_EQ(m_controls.Mode, ScheduleMode::Weekly);
    EXPECT_EQ(m_controls.DayOfWeek, (std::array<bool, 7>{true, false, false, false, false, false, true}));
}

TEST_F(VorrinStoreTest, WrongTypesAndMissingFolders)
{
    writeStore("[Software\\Omberly Soft\\The Zentavo]\nReportDir=s:/no/such/folder/\nRelease=i:13\n"
               "[Software\\Omberly Soft\\The Zentavo\\EMail]\nFrom=i:1\nHost=i:2\nPort=s:25\n");
    m_controls.EditHost = QStringLiteral("kept");
    load();
    EXPECT_EQ(m_copies.ButtonRepDirHint, m_context.defaultFolder);
    EXPECT_EQ(store().value(Main + QStringLiteral("/ReportDir")), QStringLiteral("/no/such/folder/"));
    EXPECT_EQ(m_controls.EditFrom, QStringLiteral("The Zentavo@local"));
    EXPECT_EQ(m_controls.EditHost, QStringLiteral("kept"));
    EXPECT_EQ(m_controls.EditPort, QStringLiteral("25"));

    // A value of another type reads as its default, the values after it
    // are read, and the notice names it; the next save keeps them all.
    writeStore("[Software\\Omberly Soft\\The Zentavo]\nTempDir=i:5\nReport=i:0\nPriority=s:2\nRepRunDir=s:"
               + m_dir.path().toUtf8()
               + "\n[Software\\Omberly Soft\\The Zentavo\\Vorrin]\nNotWeekEnd=s:1\n"
                 "Minimized=i:1\n");
    TVorrinControls fresh;
    LoadVorrinSettings(fresh, m_copies, m_context);
    EXPECT_EQ(fresh.EditTemp, QStringLiteral("/var/tmp/"));
    EXPECT_FALSE(fresh.CheckBoxRep);
    EXPECT_EQ(fresh.ComboBoxPrior, 1);
    EXPECT_EQ(m_copies.ButtonRunDirHint, m_dir.path() + u'/');
    EXPECT_TRUE(fresh.CheckBoxMin);
    const std::optional<QString> notice = SettingsDamageNotice();
    ASSERT_TRUE(notice);
    EXPECT_TRUE(notice->contains(QStringLiteral("wrong type: TempDir, Priority, NotWeekEnd."))) << qPrintable(*notice);
    ASSERT_TRUE(SaveVorrinSettings(fresh, m_copies));
    EXPECT_EQ(store().value(Main + QStringLiteral("/Report")), 0);
    EXPECT_EQ(store().value(Main + QStringLiteral("/RepRunDir")), m_dir.path() + u'/');
    EXPECT_EQ(store().value(Schedule + QStringLiteral("/Minimized")), 1);
    EXPECT_FALSE(SettingsDamageNotice());
}

// An old folder on a Linux disk, named in code page 1251: the start-up load
// rewrites the store (the release number) and the save writes it again, and
// neither may turn the name's bytes into something else.
TEST_F(VorrinStoreTest, AFolderNamedInAnotherCodePageKeepsItsBytes)
{
    const QByteArray folder = QFile::encodeName(m_dir.path()) + "/\xCE\xF2\xF7\xE5\xF2\xFB/"; // "Отчеты"
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    const QByteArray subject = "\xC1\xFD\xEA\xE0\xEF"; // "Бэкап", code page 1251 too
    writeStore("[Software\\Omberly Soft\\The Zentavo]\nReportDir=s:" + folder
               + "\n[Software\\Omberly Soft\\The Zentavo\\EMail]\nSubject=s:" + subject + "\n");

    load();
    const QByteArray loaded = testfiles::readBytes(platform::registryFileName());
    EXPECT_TRUE(loaded.contains("Release=i:13")) << "the load wrote the store";
    EXPECT_TRUE(loaded.contains("ReportDir=s:" + folder + "\n")) << loaded.toStdString();
    EXPECT_TRUE(loaded.contains("Subject=s:" + subject + "\n")) << loaded.toStdString();
    EXPECT_EQ(platform::fileNameBytes(m_copies.ButtonRepDirHint), folder) << "the folder exists and is used";
    EXPECT_FALSE(SettingsDamageNotice());

    ASSERT_TRUE(SaveVorrinSettings(m_controls, m_copies));
    const QByteArray saved = testfiles::readBytes(platform::registryFileName());
    EXPECT_TRUE(saved.contains("ReportDir=s:" + folder + "\n")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("Subject=s:" + subject + "\n")) << saved.toStdString();
    TVorrinCopies again;
    TVorrinControls controls;
    LoadVorrinSettings(controls, again, m_context);
    EXPECT_EQ(again.ButtonRepDirHint, m_copies.ButtonRepDirHint);
    EXPECT_EQ(controls.EditSubject, m_controls.EditSubject);
    ::rmdir(folder.constData()); // Qt cannot see such a name to remove it
}

TEST_F(VorrinStoreTest, TheWholeValueReloadsOverItsCopiesOnly)
{
    VorrinSettings settings = LoadVorrinSettings(m_context);
    settings.Controls.ListBoxTimes = {QStringLiteral("07:05")};
    ASSERT_TRUE(SaveVorrinSettings(settings));
    EXPECT_EQ(settings.Copies.ScheduleTimes, QStringList{QStringLiteral("07:05")});
    EXPECT_EQ(LoadVorrinSettings(m_context), settings);

    // Times of another type: the list shows its designed entry and an
    // unsaved edit is gone, while the scheduler keeps the times it had.
    writeStore("[Software\\Omberly Soft\\The Zentavo\\Vorrin]\nTimes=i:7\n");
    settings.Controls.EditHost = QStringLiteral("unsaved");
    const VorrinSettings reloaded = LoadVorrinSettings(m_context, settings);
    EXPECT_EQ(reloaded.Controls.ListBoxTimes, TVorrinControls().ListBoxTimes);
    EXPECT_EQ(reloaded.Controls.EditHost, QString());
    EXPECT_EQ(reloaded.Copies.ScheduleTimes, QStringList{QStringLiteral("07:05")});
}

TEST_F(VorrinStoreTest, ValidationRefusesInOrder)
{
    TVorrinControls c;
    c.EditRunSize = QString();
    EXPECT_EQ(ValidateVorrinSettings(c), VorrinFault::None);

    // Limits nobody can edit are cleared, not refused.
    c.EditTime = QStringLiteral("1x");
    c.EditRepSize = QStringLiteral("-5");
    c.EditRunSize = QStringLiteral("big");
    EXPECT_EQ(ValidateVorrinSettings(c), VorrinFault::None);
    EXPECT_EQ(c.EditTime, QString());
    EXPECT_EQ(c.EditRepSize, QString());
    EXPECT_EQ(c.EditRunSize, QString());

    // Editable limits must be whole numbers of 0 or more: the programs read
    // anything else as "no limit".
    c.CheckBoxPause = c.CheckBoxTime = true;
    c.CheckBoxRep = c.CheckBoxRepSize = c.CheckBoxRun = c.CheckBoxRunSize = true;
    c.EditTime = QStringLiteral("1x");
    c.EditRepSize = QStringLiteral("-5");
    EXPECT_EQ(ValidateVorrinSettings(c), VorrinFault::TimeNotNumber);
    c.EditTime = QStringLiteral("5");
    EXPECT_EQ(ValidateVorrinSettings(c), VorrinFault::ReportSizeNotNumber);
    c.EditRepSize = QStringLiteral("0");
    c.EditRunSize = QStringLiteral("5 KB");
    EXPECT_EQ(ValidateVorrinSettings(c), VorrinFault::JournalSizeNotNumber);
    c.EditRunSize.clear();

    c.Mode = ScheduleMode::Weekly;
    EXPECT_EQ(ValidateVorrinSettings(c), VorrinFault::NoWeekDay);
    c.DayOfWeek[3] = true;
    EXPECT_EQ(ValidateVorrinSettings(c), VorrinFault::None);
    c.Mode = ScheduleMode::Monthly;
    EXPECT_EQ(ValidateVorrinSettings(c), VorrinFault::NoMonthDay);
    c.BitBtnDay[30] = true;
    EXPECT_EQ(ValidateVorrinSettings(c), VorrinFault::None);

    // A typed volume size is a positive number of kilobytes while the
    // volumes apply; "Update" sets them back to none anyway.
    c.ComboBoxVolIndex = -1;
    for (const char *typed : {"1.44 Mb", "0", "-100"}) {
        c.ComboBoxVolText = QLatin1String(typed);
        EXPECT_EQ(ValidateVorrinSettings(c), VorrinFault::VolumeNotNumber) << typed;
    }
    c.RadioButtonArcAdd = true;
    EXPECT_EQ(ValidateVorrinSettings(c), VorrinFault::None);
    c.ComboBoxVolText = QStringLiteral("1440");
    c.RadioButtonArcAdd = false;
    EXPECT_EQ(ValidateVorrinSettings(c), VorrinFault::None);

    for (const char *port : {"smtp", "0", "70000"}) {
        c.EditPort = QLatin1String(port);
        EXPECT_EQ(ValidateVorrinSettings(c), VorrinFault::PortNotNumber) << port;
    }
    c.EditPort = QStringLiteral("2525");
    EXPECT_EQ(ValidateVorrinSettings(c), VorrinFault::None);
}

TEST_F(VorrinStoreTest, SaveTellsBothProgramsThatExist)
{
    testapp::application();
    QTemporaryDir runtime;
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    {
        QStringList got;
        const auto listen = [&got](platform::MessageWindow &window, const QString &caption) {
            QObject::connect(&window, &platform::MessageWindow::messageReceived,
                             [&got, caption](const QString &name, quint64 wParam) {
                                 got.append(caption + u' ' + name + u' ' + QString::number(wParam));
                             });
            return window.setCaption(caption);
        };
        {
            platform::MessageWindow tray;
            ASSERT_TRUE(listen(tray, CaptionTrayVorrin));
            PostVorrinUpdate(); // the main program is not running: nothing waits for it
            EXPECT_TRUE(testapp::waitUntil([&got] { return !got.isEmpty(); }));
            EXPECT_EQ(got, QStringList{CaptionTrayVorrin + QStringLiteral(" WM_UpdateVorrin 0")});
        }
        got.clear();
        platform::MessageWindow tray;
        platform::MessageWindow mainProgram;
        ASSERT_TRUE(listen(tray, CaptionTrayVorrin));
        ASSERT_TRUE(listen(mainProgram, CaptionZentavo));
        PostVorrinUpdate();
        EXPECT_TRUE(testapp::waitUntil([&got] { return got.size() == 2; }));
        got.sort();
        EXPECT_EQ(got,
                  QStringList({CaptionZentavo + QStringLiteral(" WM_UpdateVorrin 0"),
                               CaptionTrayVorrin + QStringLiteral(" WM_UpdateVorrin 0")}));
    }
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
}

TEST_F(VorrinStoreTest, ADamagedStoreIsToldLoadsTheDefaultsAndIsNeverWritten)
{
    const QByteArray damaged("[Software\\Omberly Soft\\The Zentavo]\nRep=i:0\nthis line is broken\nMenu=i:1\n");
    writeStore(damaged);
    m_controls.CheckBoxRep = false;
    m_controls.CheckBoxMenu = true;
    load();
    EXPECT_TRUE(m_controls.CheckBoxRep) << "the documented default, not what the damaged file says";
    EXPECT_FALSE(m_controls.CheckBoxMenu);
    EXPECT_EQ(m_controls.ComboBoxComp, 2);

    const std::optional<QString> notice = SettingsDamageNotice();
    ASSERT_TRUE(notice);
    EXPECT_TRUE(notice->contains(platform::registryFileName()));
    EXPECT_TRUE(notice->contains(QStringLiteral("line 3: this line is broken"))) << qPrintable(*notice);

    QString why;
    EXPECT_FALSE(SaveVorrinSettings(m_controls, m_copies, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("damaged (line 3: this line is broken)"))) << qPrintable(why);
    EXPECT_EQ(testfiles::readBytes(platform::registryFileName()), damaged);
    writeStore("");
    EXPECT_FALSE(SettingsDamageNotice());
}

TEST(VorrinVersionTest, AboutTextAndRelease)
{
    VersionStrings version;
    EXPECT_EQ(AboutText(version), QString());
    EXPECT_EQ(FileRelease(version), -1);
    version.ProductName = QStringLiteral("The Zentavo");
    version.ProductVersion = QStringLiteral("7.1 for Win32");
    version.FileVersion = QStringLiteral("7.1.13.1");
    version.LegalCopyright = QStringLiteral("(c) 2026");
    EXPECT_EQ(AboutText(version), QStringLiteral("The Zentavo 7.1 for Win32\nVersion: 7.1.13.1\n(c) 2026"));
    EXPECT_EQ(FileRelease(version), 13);
    version.ProductVersion = QStringLiteral("7.2");
    EXPECT_EQ(FileRelease(version), -1);
    version.ProductVersion = QStringLiteral("7.1");
    version.FileVersion = QStringLiteral("7.1.x.1");
    EXPECT_EQ(FileRelease(version), -1);
    version.ProductVersion.reset();
    version.FileVersion.reset();
    EXPECT_EQ(AboutText(version), QStringLiteral("The Zentavo\n(c) 2026"));
}

TEST(VorrinEnableRulesTest, ControlsFollowTheirSwitches)
{
    TVorrinControls c;
    TVorrinEnabled e = EnabledControls(c);
    EXPECT_FALSE(e.CheckBoxTime || e.EditTime || e.CheckBoxAPrint || e.CheckBoxAOnlyErrors || e.PathRadios);
    EXPECT_TRUE(e.CheckBoxPause && e.ArchiveVolumes && e.TimeList && e.CheckBoxNotWeek);
    EXPECT_FALSE(e.CheckBoxOnce || e.PanelWeekDaysVisible || e.PanelMonthDaysVisible);

    c.CheckBoxMenu = c.CheckBoxTime = true;
    c.CheckBoxAClose = true;
    e = EnabledControls(c);
    EXPECT_FALSE(e.CheckBoxPause);
    EXPECT_TRUE(e.CheckBoxTime && e.EditTime);
    // Close checked with Print and Send unchecked: the two filters stay off.
    EXPECT_TRUE(e.CheckBoxAPrint && e.CheckBoxASend && e.CheckBoxAPower);
    EXPECT_FALSE(e.CheckBoxAOnlyErrors || e.CheckBoxASumRep);
    c.CheckBoxASend = true;
    EXPECT_TRUE(EnabledControls(c).CheckBoxASumRep);

    c.CheckBoxRep = c.CheckBoxRepSize = true;
    c.CheckBoxRunSize = true;
    c.RadioButtonArcAdd = true;
    c.CheckBoxInfoPath = true;
    c.CheckBoxAuth = true;
    c.Mode = ScheduleMode::OnStartup;
    e = EnabledControls(c);
    EXPECT_TRUE(e.ReportOptions && e.EditRepSize && e.PathRadios && e.Authorization && e.CheckBoxOnce);
    EXPECT_FALSE(e.JournalOptions || e.EditRunSize || e.ArchiveVolumes || e.CheckBoxWithDrive || e.TimeList
                 || e.CheckBoxNotWeek);
    c.RadioButtonFPath = true;
    c.Mode = ScheduleMode::Weekly;
    e = EnabledControls(c);
    EXPECT_TRUE(e.CheckBoxWithDrive && e.PanelWeekDaysVisible && e.TimeList);
    EXPECT_FALSE(e.CheckBoxNotWeek || e.CheckBoxOnce);
}

TEST_F(VorrinStoreTest, AFullDiskFailsTheSaveWithTheSystemsReason)
{
    ScarceSpace space;
    platform::setRegistryFolder(space.folder());
    ASSERT_TRUE(SaveVorrinSettings(m_controls, m_copies));
    const QByteArray before = testfiles::readBytes(platform::registryFileName());
    m_controls.EditPassword = QString(4000, u'p');
    QString why;
    VorrinSettings whole{m_controls, m_copies};
    whole.Controls.CheckBoxDay.fill(true);
    const TVorrinCopies copiesBefore = whole.Copies;
    const bool exhausted = space.exhaust(1024);
    const bool saved = exhausted && SaveVorrinSettings(m_controls, m_copies, &why);
    const bool savedWhole = exhausted && SaveVorrinSettings(whole);
    platform::setRegistryFolder(m_dir.filePath(QStringLiteral("config")));
    if (!exhausted)
        GTEST_SKIP() << qPrintable(space.reason());
    EXPECT_FALSE(saved);
    EXPECT_FALSE(savedWhole);
    EXPECT_EQ(whole.Copies, copiesBefore) << "the scheduler must not act on days off the store never took";
    EXPECT_TRUE(why.contains(QStringLiteral("No space left on device"))
                || why.contains(QStringLiteral("File too large")))
        << qPrintable(why);
    EXPECT_EQ(testfiles::readBytes(space.folder() + QStringLiteral("registry")), before);
}

TEST_F(VorrinStoreTest, AFolderThatCannotBeWrittenFailsTheSaveWithItsName)
{
    // A read-only mount refuses root too; other users skip.
    QTemporaryDir mountPoint;
    const QByteArray folder = QFile::encodeName(mountPoint.path());
    if (::geteuid() != 0 || ::mount("tmpfs", folder.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "needs root to mount a read-only file system";
    platform::setRegistryFolder(mountPoint.path());
    const bool saved = SaveVorrinSettings(m_controls, m_copies);
    const QByteArray before = testfiles::readBytes(platform::registryFileName());
    const bool readOnly = ::mount("tmpfs", folder.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") == 0;
    QString why;
    m_controls.EditHost = QStringLiteral("changed");
    const bool savedReadOnly = SaveVorrinSettings(m_controls, m_copies, &why);
    const QByteArray after = testfiles::readBytes(platform::registryFileName());
    platform::setRegistryFolder(m_dir.filePath(QStringLiteral("config")));
    ::umount(folder.constData());
    ASSERT_TRUE(saved);
    ASSERT_TRUE(readOnly);
    EXPECT_FALSE(savedReadOnly);
    EXPECT_EQ(why, QStringLiteral("The folder %1 cannot be written").arg(mountPoint.path())) << qPrintable(why);
    EXPECT_EQ(after, before);
}
