#include "VorrinStore.h"

#include "Paths.h"
#include "RegistryKey.h"
#include "SuiteMessages.h"
#include "VersionBlock.h"
#include "WindowMessages.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace zentavo {

QString ProductTitle;

namespace {

using platform::RegistryKey;

constexpr int StartupCode = 128;
// Releases before this one numbered the volume list without "Zip-Drive (250 Mb)".
constexpr quint32 MigratedRelease = 5;
constexpr int FirstShiftedVolume = 4;
constexpr qsizetype MaxFromLength = 17;
const QString FromDomain = QStringLiteral("local");

int tag(bool checked)
{
    return checked ? 1 : 0;
}

bool isWholeNumberOrEmpty(const QString &text)
{
    bool ok = true;
    if (!text.isEmpty())
        text.toInt(&ok);
    return ok;
}

// A size limit for the copies: an empty or non-numeric text means no limit.
int sizeLimit(const QString &text)
{
    bool ok = false;
    const int size = text.toInt(&ok);
    return ok ? size : 0;
}

// A combo box shows no item for an index outside its list.
int itemIndex(int index, int count)
{
    return index >= 0 && index < count ? index : -1;
}

QString existingFolderOr(const QString &stored, const QString &fallback)
{
    if (!stored.isEmpty() && QFileInfo(stored).isDir())
        return platform::withTrailingSeparator(stored);
    return fallback;
}

// "Times" holds one "HH:MM" per line, each followed by CR LF; the list that
// shows them is sorted.
QStringList timesOfText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QStringList times = text.split(u'\n');
    if (times.last().isEmpty())
        times.removeLast();
    times.sort(Qt::CaseInsensitive);
    return times;
}

QString textOfTimes(const QStringList &times)
{
    QString text;
    for (const QString &time : times)
        text += time + QStringLiteral("\r\n");
    return text;
}

// Switches on the days of a "DaysOfMonth" text of ascending two-digit day
// numbers; a pair out of order ends the walk. False when a pair is no number.
bool restoreMonthDays(QString text, std::array<bool, 31> &days)
{
    for (int day = 1; day <= 31 && !text.isEmpty(); ++day) {
        bool ok = false;
        const int number = text.left(2).toInt(&ok);
        if (!ok)
            return false;
        if (number == day) {
            days[day - 1] = true;
            text.remove(0, 2);
        }
    }
    return true;
}

// A damaged store reads as an empty one, so every value takes its default;
// the damage itself is told by SettingsDamageNotice.
std::unique_ptr<RegistryKey> keyToLoad(const QString &path)
{
    std::unique_ptr<RegistryKey> key = RegistryKey::open(path, RegistryKey::Mode::OpenOrCreate);
    if (!key && platform::registryDamage())
        key = RegistryKey::empty();
    return key;
}

void loadMainKey(TVorrinControls &c, TVorrinCopies &copies, const VorrinLoadContext &context)
{
    const std::unique_ptr<RegistryKey> key = keyToLoad(MainKeyPath());
    if (!key)
        return;
    const auto integer = [&key](const QString &name, int byDefault) {
        return key->readInteger(name).value_or(byDefault);
    };
    const auto flag = [&integer](const QString &name, int byDefault) { return integer(name, byDefault) != 0; };
    const auto string = [&key](const QString &name) { return key->readString(name).value_or(QString()); };

    const std::optional<QString> temp = key->readString(QStringLiteral("TempDir"));
    if (temp)
        c.EditTemp = *temp;
    if (c.EditTemp.isEmpty())
        c.EditTemp = context.temporaryFolder;
    c.EditTemp = platform::withTrailingSeparator(c.EditTemp);
    if (!temp)
        return;

    c.EditFJob = string(QStringLiteral("DefaultDat"));
    c.CheckBoxMenu = flag(QStringLiteral("Menu"), 0);
    c.CheckBoxPause = flag(QStringLiteral("Pause"), 0);
    c.CheckBoxTime = flag(QStringLiteral("Time"), 0);
    c.EditTime = string(QStringLiteral("TimeS"));
    c.CheckBoxAClose = flag(QStringLiteral("AutoClose"), 0);
    c.CheckBoxAPrint = flag(QStringLiteral("AutoPrint"), 0);
    c.CheckBoxAOnlyErrors = flag(QStringLiteral("OnlyErrors"), 0);
    c.CheckBoxASumRep = flag(QStringLiteral("SummaryRep"), 0);
    c.CheckBoxASend = flag(QStringLiteral("AutoSend"), 0);
    c.CheckBoxAPower = flag(QStringLiteral("PowerOff"), 0);

    const int holidays = integer(QStringLiteral("Holidays"), 1);
    copies.GroupBoxDaysTag = holidays;
    copies.CheckBoxDay1Tag = holidays;
    for (int day = 0; day < 7; ++day)
        c.CheckBoxDay[day] = (holidays & (1 << day)) != 0;

    c.CheckBoxRep = flag(QStringLiteral("Report"), 1);
    c.CheckBoxRepAdd = flag(QStringLiteral("ReportAdd"), 1);
    c.CheckBoxRepSize = flag(QStringLiteral("ReportSize"), 0);
    c.EditRepSize = string(QStringLiteral("ReportSizeS"));
    copies.ButtonRepDirHint = existingFolderOr(string(QStringLiteral("ReportDir")), context.defaultFolder);
    c.CheckBoxRun = flag(QStringLiteral("RepRun"), 1);
    copies.CheckBoxRunTag = tag(c.CheckBoxRun);
    c.CheckBoxRunAdd = flag(QStringLiteral("RepRunAdd"), 1);
    copies.CheckBoxRunAddTag = tag(c.CheckBoxRunAdd);
    c.CheckBoxRunSize = flag(QStringLiteral("RepRunSize"), 0);
    c.EditRunSize = string(QStringLiteral("RepRunSizeS"));
    copies.EditRunSizeTag = c.CheckBoxRunSize ? sizeLimit(c.EditRunSize) : 0;
    copies.ButtonRunDirHint = existingFolderOr(string(QStringLiteral("RepRunDir")), context.defaultFolder);

    c.RadioButtonArcAdd = flag(QStringLiteral("ArcAdd"), 0);
    c.CheckBoxInfoPath = flag(QStringLiteral("InfoPath"), 1);
    c.RadioButtonFPath = flag(QStringLiteral("StoreFullPath"), 0);
    c.CheckBoxWithDrive = flag(QStringLiteral("WithDriveLetter"), 0);
    c.RadioButtonOEM = flag(QStringLiteral("OEMcharset"), 1);
    c.CheckBoxRecurse = flag(QStringLiteral("Recurse"), 1);
    c.CheckBoxDelBad = flag(QStringLiteral("DelBad"), 0);
    c.CheckBoxSFX = flag(QStringLiteral("SFX"), 0);
    c.CheckBoxEmptyFolders = flag(QStringLiteral("EmptyFolders"), 0);
    c.ComboBoxComp = itemIndex(integer(QStringLiteral("Compress"), 2), CompressItems);
    c.ComboBoxPrior = itemIndex(integer(QStringLiteral("Priority"), 1), PriorityItems);

    // A typed size shows as the combo's text; an index that shows nothing
    // (outside the list, or no typed size) means "None".
    c.ComboBoxVolIndex = 0;
    c.ComboBoxVolText.clear();
    const int volume = integer(QStringLiteral("Volume"), 0);
    if (volume == -1) {
        const std::optional<QString> typed = key->readString(QStringLiteral("VolumeS"));
        if (!typed)
            return;
        c.ComboBoxVolText = *typed;
        c.ComboBoxVolIndex = typed->isEmpty() ? 0 : -1;
    } else {
        c.ComboBoxVolIndex = std::max(itemIndex(volume, VolumeItems), 0);
    }

    // Settings of old releases count the volume list without the item that
    // was added at index 4. The release written here is never below the
    // first one with the new list, so the shift happens once.
    const std::optional<qint32> stored = key->readInteger(QStringLiteral("Release"));
    const qint32 release = stored.value_or(context.mainProgram.found ? 4 : 0);
    if (c.ComboBoxVolIndex >= FirstShiftedVolume && quint32(release) < MigratedRelease) {
        c.ComboBoxVolIndex = std::min(c.ComboBoxVolIndex + 1, VolumeItems - 1);
        key->writeInteger(QStringLiteral("Volume"), c.ComboBoxVolIndex);
    }
    const int fileRelease = FileRelease(context.mainProgram);
    const qint32 newRelease = fileRelease != -1 ? std::max<qint32>(fileRelease, MigratedRelease)
        : quint32(release) < MigratedRelease   ? qint32(MigratedRelease)
                                               : release;
    if (newRelease != release)
        key->writeInteger(QStringLiteral("Release"), newRelease);
    key->flush();
}

void loadScheduleKey(TVorrinControls &c, TVorrinCopies &copies)
{
    const std::unique_ptr<RegistryKey> key = keyToLoad(ScheduleKeyPath());
    if (!key)
        return;
    const std::optional<QString> times = key->readString(QStringLiteral("Times"));
    if (!times)
        return;
    c.ListBoxTimes = timesOfText(*times);
    copies.ScheduleTimes = c.ListBoxTimes;

    const std::optional<qint32> notWeekEnd = key->readInteger(QStringLiteral("NotWeekEnd"));
    if (!notWeekEnd)
        return;
    c.CheckBoxNotWeek = *notWeekEnd != 0;
    copies.CheckBoxNotWeekTag = tag(c.CheckBoxNotWeek);

    const std::optional<qint32> runOnce = key->readInteger(QStringLiteral("RunOnce"));
    if (!runOnce)
        return;
    c.CheckBoxOnce = *runOnce != 0;
    copies.CheckBoxOnceTag = tag(c.CheckBoxOnce);

    const std::optional<qint32> daysOfWeek = key->readInteger(QStringLiteral("DaysOfWeek"));
    if (!daysOfWeek)
        return;
    copies.PanelWeekDaysTag = *daysOfWeek;
    copies.DayOfWeek1Tag = *daysOfWeek;
    c.Mode = ScheduleMode::Daily;
    if (*daysOfWeek > 0) {
        c.Mode = ScheduleMode::OnStartup;
        if (*daysOfWeek < StartupCode) {
            c.Mode = ScheduleMode::Weekly;
            for (int day = 0; day < 7; ++day)
                c.DayOfWeek[day] = (*daysOfWeek & (1 << day)) != 0;
        }
    }

    const std::optional<QString> monthDays = key->readString(QStringLiteral("DaysOfMonth"));
    if (!monthDays)
        return;
    copies.ScheduleMonthDays = *monthDays;
    if (!monthDays->isEmpty()) {
        c.Mode = ScheduleMode::Monthly;
        if (!restoreMonthDays(*monthDays, c.BitBtnDay))
            return;
    }

    const std::optional<qint32> minimized = key->readInteger(QStringLiteral("Minimized"));
    if (!minimized)
        return;
    c.CheckBoxMin = *minimized != 0;
    copies.CheckBoxMinTag = tag(c.CheckBoxMin);
}

void loadMailKey(TVorrinControls &c)
{
    const std::unique_ptr<RegistryKey> key = keyToLoad(MailKeyPath());
    if (!key)
        return;
    // A mail value that cannot be read keeps what the edit shows.
    const auto text = [&key](const QString &name, QString &edit) {
        if (const std::optional<QString> value = key->readString(name))
            edit = *value;
    };
    const std::optional<QString> from = key->readString(QStringLiteral("From"));
    c.EditFrom = from ? *from : (ProductTitle + u'@' + FromDomain).left(MaxFromLength);
    text(QStringLiteral("EMail"), c.EditEMail);
    text(QStringLiteral("Subject"), c.EditSubject);
    if (const std::optional<qint32> authentication = key->readInteger(QStringLiteral("Authentication")))
        c.CheckBoxAuth = *authentication != 0;
    text(QStringLiteral("UserName"), c.EditUserName);
    text(QStringLiteral("Password"), c.EditPassword);
    c.CheckBoxHelo = key->readInteger(QStringLiteral("Helo")).value_or(1) != 0;
    text(QStringLiteral("Host"), c.EditHost);
    text(QStringLiteral("Port"), c.EditPort);
}

bool saveMainKey(const TVorrinControls &c, TVorrinCopies &copies)
{
    const std::unique_ptr<RegistryKey> key = RegistryKey::open(MainKeyPath(), RegistryKey::Mode::OpenOrCreate);
    if (!key)
        return false;
    const auto flag = [&key](const QString &name, bool checked) { key->writeInteger(name, tag(checked)); };
    key->writeString(QStringLiteral("TempDir"), c.EditTemp);
    key->writeString(QStringLiteral("DefaultDat"), c.EditFJob);
    flag(QStringLiteral("Menu"), c.CheckBoxMenu);
    flag(QStringLiteral("Pause"), c.CheckBoxPause);
    flag(QStringLiteral("Time"), c.CheckBoxTime);
    key->writeString(QStringLiteral("TimeS"), c.EditTime);
    flag(QStringLiteral("AutoClose"), c.CheckBoxAClose);
    flag(QStringLiteral("AutoPrint"), c.CheckBoxAPrint);
    flag(QStringLiteral("OnlyErrors"), c.CheckBoxAOnlyErrors);
    flag(QStringLiteral("SummaryRep"), c.CheckBoxASumRep);
    flag(QStringLiteral("AutoSend"), c.CheckBoxASend);
    flag(QStringLiteral("PowerOff"), c.CheckBoxAPower);

    int holidays = 0;
    for (int day = 0; day < 7; ++day) {
        if (c.CheckBoxDay[day])
            holidays |= 1 << day;
    }
    copies.GroupBoxDaysTag = holidays;
    key->writeInteger(QStringLiteral("Holidays"), holidays);
    copies.CheckBoxDay1Tag = holidays;

    flag(QStringLiteral("Report"), c.CheckBoxRep);
    flag(QStringLiteral("ReportAdd"), c.CheckBoxRepAdd);
    flag(QStringLiteral("ReportSize"), c.CheckBoxRepSize);
    key->writeString(QStringLiteral("ReportSizeS"), c.EditRepSize);
    key->writeString(QStringLiteral("ReportDir"), copies.ButtonRepDirHint);
    flag(QStringLiteral("RepRun"), c.CheckBoxRun);
    copies.CheckBoxRunTag = tag(c.CheckBoxRun);
    flag(QStringLiteral("RepRunAdd"), c.CheckBoxRunAdd);
    copies.CheckBoxRunAddTag = tag(c.CheckBoxRunAdd);
    flag(QStringLiteral("RepRunSize"), c.CheckBoxRunSize);
    key->writeString(QStringLiteral("RepRunSizeS"), c.EditRunSize);
    copies.EditRunSizeTag = c.CheckBoxRunSize ? sizeLimit(c.EditRunSize) : 0;
    key->writeString(QStringLiteral("RepRunDir"), copies.ButtonRunDirHint);

    flag(QStringLiteral("ArcAdd"), c.RadioButtonArcAdd);
    flag(QStringLiteral("InfoPath"), c.CheckBoxInfoPath);
    flag(QStringLiteral("StoreFullPath"), c.RadioButtonFPath);
    flag(QStringLiteral("WithDriveLetter"), c.CheckBoxWithDrive);
    flag(QStringLiteral("OEMcharset"), c.RadioButtonOEM);
    flag(QStringLiteral("Recurse"), c.CheckBoxRecurse);
    flag(QStringLiteral("DelBad"), c.CheckBoxDelBad);
    flag(QStringLiteral("SFX"), c.CheckBoxSFX);
    flag(QStringLiteral("EmptyFolders"), c.CheckBoxEmptyFolders);
    key->writeInteger(QStringLiteral("Compress"), c.ComboBoxComp);
    key->writeInteger(QStringLiteral("Priority"), c.ComboBoxPrior);
    key->writeInteger(QStringLiteral("Volume"), c.ComboBoxVolIndex);
    if (c.ComboBoxVolIndex == -1)
        key->writeString(QStringLiteral("VolumeS"), c.ComboBoxVolText);
    return key->flush();
}

bool saveScheduleKey(const TVorrinControls &c, TVorrinCopies &copies)
{
    const std::unique_ptr<RegistryKey> key = RegistryKey::open(ScheduleKeyPath(), RegistryKey::Mode::OpenOrCreate);
    if (!key)
        return false;
    key->writeInteger(QStringLiteral("NotWeekEnd"), tag(c.CheckBoxNotWeek));
    copies.CheckBoxNotWeekTag = tag(c.CheckBoxNotWeek);
    key->writeInteger(QStringLiteral("RunOnce"), tag(c.CheckBoxOnce));
    copies.CheckBoxOnceTag = tag(c.CheckBoxOnce);
    key->writeString(QStringLiteral("Times"), textOfTimes(c.ListBoxTimes));
    copies.ScheduleTimes = c.ListBoxTimes;

    int daysOfWeek = 0;
    if (c.Mode == ScheduleMode::Weekly) {
        for (int day = 0; day < 7; ++day) {
            if (c.DayOfWeek[day])
                daysOfWeek |= 1 << day;
        }
    } else if (c.Mode == ScheduleMode::OnStartup) {
        daysOfWeek = StartupCode;
    }
    key->writeInteger(QStringLiteral("DaysOfWeek"), daysOfWeek);
    copies.PanelWeekDaysTag = daysOfWeek;
    copies.DayOfWeek1Tag = daysOfWeek;

    QString monthDays;
    if (c.Mode == ScheduleMode::Monthly) {
        for (int day = 1; day <= 31; ++day) {
            if (c.BitBtnDay[day - 1])
                monthDays += QStringLiteral("%1").arg(day, 2, 10, QChar(u'0'));
        }
    }
    key->writeString(QStringLiteral("DaysOfMonth"), monthDays);
    copies.ScheduleMonthDays = monthDays;

    key->writeInteger(QStringLiteral("Minimized"), tag(c.CheckBoxMin));
    copies.CheckBoxMinTag = tag(c.CheckBoxMin);
    return key->flush();
}

bool saveMailKey(const TVorrinControls &c)
{
    const std::unique_ptr<RegistryKey> key = RegistryKey::open(MailKeyPath(), RegistryKey::Mode::OpenOrCreate);
    if (!key)
        return false;
    key->writeString(QStringLiteral("From"), c.EditFrom);
    key->writeString(QStringLiteral("EMail"), c.EditEMail);
    key->writeString(QStringLiteral("Subject"), c.EditSubject);
    key->writeInteger(QStringLiteral("Authentication"), tag(c.CheckBoxAuth));
    key->writeString(QStringLiteral("UserName"), c.EditUserName);
    key->writeString(QStringLiteral("Password"), c.EditPassword);
    key->writeInteger(QStringLiteral("Helo"), tag(c.CheckBoxHelo));
    key->writeString(QStringLiteral("Host"), c.EditHost);
    key->writeString(QStringLiteral("Port"), c.EditPort);
    return key->flush();
}

std::optional<QString> nonEmpty(const QString &text)
{
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}

} // namespace

QString MainKeyPath()
{
    return QStringLiteral("\\Software\\Omberly Soft\\The Zentavo\\");
}

QString ScheduleKeyPath()
{
    return MainKeyPath() + QStringLiteral("Vorrin\\");
}

QString MailKeyPath()
{
    return MainKeyPath() + QStringLiteral("EMail\\");
}

VersionStrings VersionStrings::of(const platform::VersionBlock &block)
{
    VersionStrings strings;
    strings.found = !block.isEmpty();
    strings.ProductName = nonEmpty(block.productName());
    strings.ProductVersion = nonEmpty(block.productVersion());
    strings.FileVersion = nonEmpty(block.fileVersion());
    strings.LegalCopyright = nonEmpty(block.legalCopyright());
    return strings;
}

QString AboutText(const VersionStrings &version)
{
    QString text = version.ProductName.value_or(QString());
    if (version.ProductVersion)
        text += u' ' + *version.ProductVersion;
    if (version.FileVersion)
        text += QStringLiteral("\nVersion: ") + *version.FileVersion;
    if (version.LegalCopyright)
        text += u'\n' + *version.LegalCopyright;
    return text;
}

int FileRelease(const VersionStrings &version)
{
    if (!version.FileVersion)
        return -1;
    const QStringList fields = version.FileVersion->split(u'.');
    const QString majorMinor = fields.value(0) + u'.' + fields.value(1);
    if (!version.ProductVersion || !version.ProductVersion->startsWith(majorMinor))
        return -1;
    bool ok = false;
    const int release = fields.value(2).toInt(&ok);
    return ok ? release : -1;
}

VorrinLoadContext VorrinLoadContext::current()
{
    VorrinLoadContext context;
    context.defaultFolder = platform::defaultWriteFolder();
    context.temporaryFolder = QDir::toNativeSeparators(QDir::tempPath());
    context.mainProgram =
        VersionStrings::of(platform::VersionBlock::ofFile(platform::siblingProgram(QStringLiteral("Zentavo"))));
    return context;
}

void LoadVorrinSettings(TVorrinControls &controls, TVorrinCopies &copies, const VorrinLoadContext &context)
{
    controls.BitBtnDay.fill(false);
    controls.DayOfWeek.fill(false);
    loadMainKey(controls, copies, context);
    loadScheduleKey(controls, copies);
    loadMailKey(controls);
}

VorrinFault ValidateVorrinSettings(TVorrinControls &controls)
{
    if (!isWholeNumberOrEmpty(controls.EditTime)) {
        if (EnabledControls(controls).EditTime)
            return VorrinFault::TimeNotNumber;
        controls.EditTime.clear();
    }
    if (!isWholeNumberOrEmpty(controls.EditRepSize))
        return VorrinFault::ReportSizeNotNumber;
    if (!isWholeNumberOrEmpty(controls.EditRunSize))
        return VorrinFault::JournalSizeNotNumber;
    const auto isOn = [](bool on) { return on; };
    if (controls.Mode == ScheduleMode::Weekly && std::none_of(controls.DayOfWeek.cbegin(), controls.DayOfWeek.cend(), isOn))
        return VorrinFault::NoWeekDay;
    if (controls.Mode == ScheduleMode::Monthly && std::none_of(controls.BitBtnDay.cbegin(), controls.BitBtnDay.cend(), isOn))
        return VorrinFault::NoMonthDay;
    return VorrinFault::None;
}

bool SaveVorrinSettings(const TVorrinControls &controls, TVorrinCopies &copies)
{
    const bool main = saveMainKey(controls, copies);
    const bool schedule = saveScheduleKey(controls, copies);
    const bool mail = saveMailKey(controls);
    return main && schedule && mail;
}

std::optional<QString> SettingsDamageNotice()
{
    const std::optional<platform::registryformat::Damage> damage = platform::registryDamage();
    if (!damage)
        return std::nullopt;
    return QStringLiteral("The settings file %1 is damaged (line %2: %3). The defaults are used until it is "
                          "repaired or removed; it is not written over.")
        .arg(QDir::toNativeSeparators(platform::registryFileName()))
        .arg(damage->line)
        .arg(damage->text);
}

void PostVorrinUpdate()
{
    platform::postMessage(CaptionTrayVorrin, MsgUpdateVorrin, 0);
    platform::postMessage(CaptionZentavo, MsgUpdateVorrin, 0);
}

} // namespace zentavo
