#include "VorrinStore.h"

#include "platform/FileNames.h"
#include "platform/Paths.h"
#include "platform/RegistryKey.h"
#include "platform/VersionBlock.h"
#include "settings/PortNumber.h"
#include "shared/SuiteMessages.h"
#include "shared/ZetuUnit.h"

#include <QDir>

#include <algorithm>
#include <filesystem>
#include <variant>

namespace zentavo {

namespace {

using platform::RegistryKey;

// Releases before this one numbered the volume list without "Zip-Drive (250 Mb)".
constexpr quint32 MigratedRelease = 5;
constexpr int FirstShiftedVolume = 4;
constexpr qsizetype MaxFromLength = 17;
const QString FromDomain = QStringLiteral("local");

int tag(bool checked)
{
    return checked ? 1 : 0;
}

// Empty, or a whole number of 0 or more.
bool isCountOrEmpty(const QString &text)
{
    if (text.isEmpty())
        return true;
    bool ok = false;
    const int count = text.toInt(&ok);
    return ok && count >= 0;
}

// A limit nobody can edit is cleared when it is no number; true when it
// is fine or was cleared.
bool acceptLimit(QString &text, bool enabled)
{
    if (isCountOrEmpty(text))
        return true;
    if (enabled)
        return false;
    text.clear();
    return true;
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
    std::error_code error;
    if (!stored.isEmpty() && std::filesystem::is_directory(platform::nativePath(stored), error))
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
// numbers; a pair out of order or no number ends the walk.
void restoreMonthDays(QString text, std::array<bool, 31> &days)
{
    for (int day = 1; day <= 31 && !text.isEmpty(); ++day) {
        bool ok = false;
        const int number = text.left(2).toInt(&ok);
        if (!ok)
            return;
        if (number == day) {
            days[day - 1] = true;
            text.remove(0, 2);
        }
    }
}

int daysMask(const std::array<bool, 7> &days)
{
    int mask = 0;
    for (int day = 0; day < 7; ++day) {
        if (days[day])
            mask |= 1 << day;
    }
    return mask;
}

void daysOfMask(int mask, std::array<bool, 7> &days)
{
    for (int day = 0; day < 7; ++day)
        days[day] = (mask & (1 << day)) != 0;
}

// Values whose reading or writing is more than a copy between one control
// and one value.
enum class Special {
    TempDir,     // an empty or unreadable text stands for the temporary folder
    Holidays,    // the days-off boxes as a mask, copied for the schedule and the run
    ReportDir,   // the report folder, kept in its button's Hint
    RepRunDir,   // the journal folder, kept in its button's Hint
    JournalSize, // the journal limit text, copied as a number for the journal writer
    Volume,      // the volume item index
    VolumeText,  // a typed volume size, stored only with the index -1
    Times,       // the start times list
    DaysOfWeek,  // the schedule mode and week days as one code
    DaysOfMonth, // the monthly days as a text of day pairs
    From,        // the sender, made up when the stored value has another type
};

// What a value that cannot be read leaves in its control. Either way the
// reading of the key goes on, so that the next save writes back every value
// that was readable.
enum class OnFailure {
    Default, // the value's default
    Keep,    // the control's present state
};

using Field = std::variant<bool TVorrinControls::*, int TVorrinControls::*, QString TVorrinControls::*, Special>;

// One stored value: its name, the control it belongs to, what an unreadable
// value gives, and the copy that readers of saved values get.
struct StoredValue {
    const char *name;
    Field field;
    OnFailure onFailure = OnFailure::Default;
    int byDefault = 0;                 // for check boxes and item indexes
    int TVorrinCopies::*tag = nullptr; // a check state copied as 0 or 1
    int items = 0;                     // an item index outside 0..items-1 shows no item
};

using C = TVorrinControls;
using K = TVorrinCopies;

constexpr const char *VolumeName = "Volume";

// The values of each key in the order they are read and written.
const std::array MainValues = {
    StoredValue{"TempDir", Special::TempDir},
    StoredValue{"DefaultDat", &C::EditFJob},
    StoredValue{"Menu", &C::CheckBoxMenu},
    StoredValue{"Pause", &C::CheckBoxPause},
    StoredValue{"Time", &C::CheckBoxTime},
    StoredValue{"TimeS", &C::EditTime},
    StoredValue{"AutoClose", &C::CheckBoxAClose},
    StoredValue{"AutoPrint", &C::CheckBoxAPrint},
    StoredValue{"OnlyErrors", &C::CheckBoxAOnlyErrors},
    StoredValue{"SummaryRep", &C::CheckBoxASumRep},
    StoredValue{"AutoSend", &C::CheckBoxASend},
    StoredValue{"PowerOff", &C::CheckBoxAPower},
    StoredValue{"Holidays", Special::Holidays, OnFailure::Default, 1},
    StoredValue{"Report", &C::CheckBoxRep, OnFailure::Default, 1},
    StoredValue{"ReportAdd", &C::CheckBoxRepAdd, OnFailure::Default, 1},
    StoredValue{"ReportSize", &C::CheckBoxRepSize},
    StoredValue{"ReportSizeS", &C::EditRepSize},
    StoredValue{"ReportDir", Special::ReportDir},
    StoredValue{"RepRun", &C::CheckBoxRun, OnFailure::Default, 1, &K::CheckBoxRunTag},
    StoredValue{"RepRunAdd", &C::CheckBoxRunAdd, OnFailure::Default, 1, &K::CheckBoxRunAddTag},
    StoredValue{"RepRunSize", &C::CheckBoxRunSize},
    StoredValue{"RepRunSizeS", Special::JournalSize},
    StoredValue{"RepRunDir", Special::RepRunDir},
    StoredValue{"ArcAdd", &C::RadioButtonArcAdd},
    StoredValue{"InfoPath", &C::CheckBoxInfoPath, OnFailure::Default, 1},
    StoredValue{"StoreFullPath", &C::RadioButtonFPath},
    StoredValue{"WithDriveLetter", &C::CheckBoxWithDrive},
    StoredValue{"OEMcharset", &C::RadioButtonOEM, OnFailure::Default, 1},
    StoredValue{"Recurse", &C::CheckBoxRecurse, OnFailure::Default, 1},
    StoredValue{"DelBad", &C::CheckBoxDelBad},
    StoredValue{"SFX", &C::CheckBoxSFX},
    StoredValue{"EmptyFolders", &C::CheckBoxEmptyFolders},
    StoredValue{"Compress", &C::ComboBoxComp, OnFailure::Default, 2, nullptr, CompressItems},
    StoredValue{"Priority", &C::ComboBoxPrior, OnFailure::Default, 1, nullptr, PriorityItems},
    StoredValue{VolumeName, Special::Volume},
    StoredValue{"VolumeS", Special::VolumeText},
};

// The schedule values have no defaults: one that cannot be read keeps the
// control's state.
const std::array ScheduleValues = {
    StoredValue{"Times", Special::Times},
    StoredValue{"NotWeekEnd", &C::CheckBoxNotWeek, OnFailure::Keep, 0, &K::CheckBoxNotWeekTag},
    StoredValue{"RunOnce", &C::CheckBoxOnce, OnFailure::Keep, 0, &K::CheckBoxOnceTag},
    StoredValue{"DaysOfWeek", Special::DaysOfWeek},
    StoredValue{"DaysOfMonth", Special::DaysOfMonth},
    StoredValue{"Minimized", &C::CheckBoxMin, OnFailure::Keep, 0, &K::CheckBoxMinTag},
};

// A mail value that cannot be read keeps what the edit shows.
const std::array MailValues = {
    StoredValue{"From", Special::From},
    StoredValue{"EMail", &C::EditEMail, OnFailure::Keep},
    StoredValue{"Subject", &C::EditSubject, OnFailure::Keep},
    StoredValue{"Authentication", &C::CheckBoxAuth, OnFailure::Keep},
    StoredValue{"UserName", &C::EditUserName, OnFailure::Keep},
    StoredValue{"Password", &C::EditPassword, OnFailure::Keep},
    StoredValue{"Helo", &C::CheckBoxHelo, OnFailure::Default, 1},
    StoredValue{"Host", &C::EditHost, OnFailure::Keep},
    StoredValue{"Port", &C::EditPort, OnFailure::Keep},
};

const QString ReleaseName = QStringLiteral("Release");

void loadSpecial(RegistryKey &key, Special special, const QString &name, const StoredValue &value, TVorrinControls &c,
                 TVorrinCopies &copies, const VorrinLoadContext &context);
void saveSpecial(RegistryKey &key, Special special, const QString &name, const TVorrinControls &c,
                 TVorrinCopies &copies);

void loadValue(RegistryKey &key, const StoredValue &value, TVorrinControls &c, TVorrinCopies &copies,
               const VorrinLoadContext &context)
{
    const QString name = QLatin1String(value.name);
    if (const Special *special = std::get_if<Special>(&value.field)) {
        loadSpecial(key, *special, name, value, c, copies, context);
    } else if (const auto flag = std::get_if<bool C::*>(&value.field)) {
        const std::optional<qint32> read = key.readInteger(name);
        if (read || value.onFailure == OnFailure::Default)
            c.*(*flag) = read.value_or(value.byDefault) != 0;
        if (value.tag)
            copies.*value.tag = tag(c.*(*flag));
    } else if (const auto index = std::get_if<int C::*>(&value.field)) {
        c.*(*index) = itemIndex(key.readInteger(name).value_or(value.byDefault), value.items);
    } else {
        const std::optional<QString> read = key.readString(name);
        if (read || value.onFailure == OnFailure::Default)
            c.*std::get<QString C::*>(value.field) = read.value_or(QString());
    }
}

void saveValue(RegistryKey &key, const StoredValue &value, const TVorrinControls &c, TVorrinCopies &copies)
{
    const QString name = QLatin1String(value.name);
    if (const Special *special = std::get_if<Special>(&value.field)) {
        saveSpecial(key, *special, name, c, copies);
    } else if (const auto flag = std::get_if<bool C::*>(&value.field)) {
        key.writeInteger(name, tag(c.*(*flag)));
        if (value.tag)
            copies.*value.tag = tag(c.*(*flag));
    } else if (const auto index = std::get_if<int C::*>(&value.field)) {
        key.writeInteger(name, c.*(*index));
    } else {
        key.writeString(name, c.*std::get<QString C::*>(value.field));
    }
}

void loadSpecial(RegistryKey &key, Special special, const QString &name, const StoredValue &value, TVorrinControls &c,
                 TVorrinCopies &copies, const VorrinLoadContext &context)
{
    switch (special) {
    case Special::TempDir: {
        c.EditTemp = key.readString(name).value_or(QString());
        if (c.EditTemp.isEmpty())
            c.EditTemp = context.temporaryFolder;
        c.EditTemp = platform::withTrailingSeparator(c.EditTemp);
        return;
    }
    case Special::Holidays: {
        const int holidays = key.readInteger(name).value_or(value.byDefault);
        copies.GroupBoxDaysTag = holidays;
        copies.CheckBoxDay1Tag = holidays;
        daysOfMask(holidays, c.CheckBoxDay);
        return;
    }
    case Special::ReportDir:
        copies.ButtonRepDirHint = existingFolderOr(key.readString(name).value_or(QString()), context.defaultFolder);
        return;
    case Special::RepRunDir:
        copies.ButtonRunDirHint = existingFolderOr(key.readString(name).value_or(QString()), context.defaultFolder);
        return;
    case Special::JournalSize:
        c.EditRunSize = key.readString(name).value_or(QString());
        copies.EditRunSizeTag = c.CheckBoxRunSize ? sizeLimit(c.EditRunSize) : 0;
        return;
    case Special::Volume: {
        // A typed size shows as the combo's text; an index that shows
        // nothing (outside the list, or no typed size) means "None".
        c.ComboBoxVolText.clear();
        const int volume = key.readInteger(name).value_or(0);
        c.ComboBoxVolIndex = volume == -1 ? -1 : std::max(itemIndex(volume, VolumeItems), 0);
        return;
    }
    case Special::VolumeText: {
        if (c.ComboBoxVolIndex != -1)
            return;
        const std::optional<QString> typed = key.readString(name);
        c.ComboBoxVolIndex = typed && !typed->isEmpty() ? -1 : 0;
        if (typed)
            c.ComboBoxVolText = *typed;
        return;
    }
    case Special::Times: {
        const std::optional<QString> times = key.readString(name);
        if (!times)
            return;
        c.ListBoxTimes = timesOfText(*times);
        copies.ScheduleTimes = c.ListBoxTimes;
        return;
    }
    case Special::DaysOfWeek: {
        const std::optional<qint32> daysOfWeek = key.readInteger(name);
        if (!daysOfWeek)
            return;
        copies.PanelWeekDaysTag = *daysOfWeek;
        copies.DayOfWeek1Tag = *daysOfWeek;
        c.Mode = ScheduleMode::Daily;
        if (*daysOfWeek > 0) {
            c.Mode = ScheduleMode::OnStartup;
            if (*daysOfWeek < ScheduleOnStartup) {
                c.Mode = ScheduleMode::Weekly;
                daysOfMask(*daysOfWeek, c.DayOfWeek);
            }
        }
        return;
    }
    case Special::DaysOfMonth: {
        const std::optional<QString> monthDays = key.readString(name);
        if (!monthDays)
            return;
        copies.ScheduleMonthDays = *monthDays;
        if (monthDays->isEmpty())
            return;
        c.Mode = ScheduleMode::Monthly;
        restoreMonthDays(*monthDays, c.BitBtnDay);
        return;
    }
    case Special::From: {
        const std::optional<QString> from = key.readString(name);
        c.EditFrom = from ? *from : (context.productTitle + u'@' + FromDomain).left(MaxFromLength);
        return;
    }
    }
}

void saveSpecial(RegistryKey &key, Special special, const QString &name, const TVorrinControls &c,
                 TVorrinCopies &copies)
{
    switch (special) {
    case Special::TempDir: key.writeString(name, c.EditTemp); break;
    case Special::Holidays: {
        const int holidays = daysMask(c.CheckBoxDay);
        copies.GroupBoxDaysTag = holidays;
        copies.CheckBoxDay1Tag = holidays;
        key.writeInteger(name, holidays);
        break;
    }
    case Special::ReportDir: key.writeString(name, copies.ButtonRepDirHint); break;
    case Special::RepRunDir: key.writeString(name, copies.ButtonRunDirHint); break;
    case Special::JournalSize:
        key.writeString(name, c.EditRunSize);
        copies.EditRunSizeTag = c.CheckBoxRunSize ? sizeLimit(c.EditRunSize) : 0;
        break;
    case Special::Volume: key.writeInteger(name, c.ComboBoxVolIndex); break;
    case Special::VolumeText:
        if (c.ComboBoxVolIndex == -1)
            key.writeString(name, c.ComboBoxVolText);
        break;
    case Special::Times:
        key.writeString(name, textOfTimes(c.ListBoxTimes));
        copies.ScheduleTimes = c.ListBoxTimes;
        break;
    case Special::DaysOfWeek: {
        const int daysOfWeek = c.Mode == ScheduleMode::Weekly ? daysMask(c.DayOfWeek)
            : c.Mode == ScheduleMode::OnStartup               ? ScheduleOnStartup
                                                              : 0;
        key.writeInteger(name, daysOfWeek);
        copies.PanelWeekDaysTag = daysOfWeek;
        copies.DayOfWeek1Tag = daysOfWeek;
        break;
    }
    case Special::DaysOfMonth: {
        QString monthDays;
        if (c.Mode == ScheduleMode::Monthly) {
            for (int day = 1; day <= 31; ++day) {
                if (c.BitBtnDay[day - 1])
                    monthDays += QStringLiteral("%1").arg(day, 2, 10, QChar(u'0'));
            }
        }
        key.writeString(name, monthDays);
        copies.ScheduleMonthDays = monthDays;
        break;
    }
    case Special::From: key.writeString(name, c.EditFrom); break;
    }
}

// Settings of old releases count the volume list without the item that was
// added at index 4. The release written here is never below the first one
// with the new list, so the shift happens once.
void migrateVolume(RegistryKey &key, TVorrinControls &c, const VorrinLoadContext &context)
{
    const std::optional<qint32> stored = key.readInteger(ReleaseName);
    const qint32 release = stored.value_or(context.mainProgram.found ? 4 : 0);
    if (c.ComboBoxVolIndex >= FirstShiftedVolume && quint32(release) < MigratedRelease) {
        c.ComboBoxVolIndex = std::min(c.ComboBoxVolIndex + 1, VolumeItems - 1);
        key.writeInteger(QLatin1String(VolumeName), c.ComboBoxVolIndex);
    }
    const int fileRelease = FileRelease(context.mainProgram);
    const qint32 newRelease = fileRelease != -1 ? std::max<qint32>(fileRelease, MigratedRelease)
        : quint32(release) < MigratedRelease    ? qint32(MigratedRelease)
                                                : release;
    if (newRelease != release)
        key.writeInteger(ReleaseName, newRelease);
}

template <std::size_t N>
bool saveKey(const QString &path, const std::array<StoredValue, N> &values, const TVorrinControls &c,
             TVorrinCopies &copies, QString &error)
{
    const std::unique_ptr<RegistryKey> key = RegistryKey::open(path, RegistryKey::Mode::OpenOrCreate, &error);
    if (!key)
        return false;
    for (const StoredValue &value : values)
        saveValue(*key, value, c, copies);
    if (key->flush())
        return true;
    error = key->errorString();
    return false;
}

// Whether a stored value is an integer, by the control or special it belongs to.
bool isIntegerValue(const StoredValue &value)
{
    if (const Special *special = std::get_if<Special>(&value.field))
        return *special == Special::Holidays || *special == Special::Volume || *special == Special::DaysOfWeek;
    return !std::holds_alternative<QString C::*>(value.field);
}

// The values of one key stored with the other type, as "Name (key)".
template <std::size_t N>
QStringList mistypedValues(const QString &path, const std::array<StoredValue, N> &values)
{
    QStringList mistyped;
    const std::unique_ptr<RegistryKey> key = RegistryKey::open(path, RegistryKey::Mode::OpenExisting);
    if (!key)
        return mistyped;
    QList<std::pair<QString, bool>> expected;
    for (const StoredValue &value : values)
        expected.append({QLatin1String(value.name), isIntegerValue(value)});
    if (path == MainKeyPath())
        expected.append({ReleaseName, true});
    for (const auto &[name, integer] : std::as_const(expected)) {
        const bool readable = integer ? key->readInteger(name).has_value() : key->readString(name).has_value();
        if (key->holds(name) && !readable)
            mistyped << name;
    }
    return mistyped;
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
    context.temporaryFolder = platform::temporaryFolder();
    context.mainProgram
        = VersionStrings::of(platform::VersionBlock::ofFile(platform::siblingProgram(QStringLiteral("Zentavo"))));
    context.productTitle = GetProductTitle();
    return context;
}

void LoadVorrinSettings(TVorrinControls &controls, TVorrinCopies &copies, const VorrinLoadContext &context)
{
    controls.BitBtnDay.fill(false);
    controls.DayOfWeek.fill(false);
    const auto load = [&](const QString &path, const auto &values) {
        std::unique_ptr<RegistryKey> key = RegistryKey::open(path, RegistryKey::Mode::OpenOrCreate);
        // A key that cannot be opened (a damaged store, told by
        // SettingsDamageNotice, or one that cannot be created) reads as an
        // empty one, so every value takes its default.
        if (!key)
            key = RegistryKey::empty();
        for (const StoredValue &value : values)
            loadValue(*key, value, controls, copies, context);
        if (path == MainKeyPath())
            migrateVolume(*key, controls, context);
        key->flush();
    };
    load(MainKeyPath(), MainValues);
    load(ScheduleKeyPath(), ScheduleValues);
    load(MailKeyPath(), MailValues);
}

VorrinSettings LoadVorrinSettings(const VorrinLoadContext &context, const VorrinSettings &previous)
{
    VorrinSettings settings{TVorrinControls(), previous.Copies};
    LoadVorrinSettings(settings.Controls, settings.Copies, context);
    return settings;
}

VorrinFault ValidateVorrinSettings(TVorrinControls &controls)
{
    const TVorrinEnabled enabled = EnabledControls(controls);
    if (!acceptLimit(controls.EditTime, enabled.EditTime))
        return VorrinFault::TimeNotNumber;
    if (!acceptLimit(controls.EditRepSize, enabled.EditRepSize))
        return VorrinFault::ReportSizeNotNumber;
    if (!acceptLimit(controls.EditRunSize, enabled.EditRunSize))
        return VorrinFault::JournalSizeNotNumber;
    const auto isOn = [](bool on) { return on; };
    if (controls.Mode == ScheduleMode::Weekly
        && std::none_of(controls.DayOfWeek.cbegin(), controls.DayOfWeek.cend(), isOn))
        return VorrinFault::NoWeekDay;
    if (controls.Mode == ScheduleMode::Monthly
        && std::none_of(controls.BitBtnDay.cbegin(), controls.BitBtnDay.cend(), isOn))
        return VorrinFault::NoMonthDay;
    if (controls.ComboBoxVolIndex == -1 && enabled.ArchiveVolumes && sizeLimit(controls.ComboBoxVolText) <= 0)
        return VorrinFault::VolumeNotNumber;
    if (!controls.EditPort.isEmpty() && !PortNumber(controls.EditPort))
        return VorrinFault::PortNotNumber;
    return VorrinFault::None;
}

bool SaveVorrinSettings(const TVorrinControls &controls, TVorrinCopies &copies, QString *error)
{
    QString why;
    bool saved = saveKey(MainKeyPath(), MainValues, controls, copies, why);
    saved = saveKey(ScheduleKeyPath(), ScheduleValues, controls, copies, why) && saved;
    saved = saveKey(MailKeyPath(), MailValues, controls, copies, why) && saved;
    if (error)
        *error = why;
    return saved;
}

bool SaveVorrinSettings(VorrinSettings &settings, QString *error)
{
    TVorrinCopies copies = settings.Copies;
    if (!SaveVorrinSettings(settings.Controls, copies, error))
        return false;
    settings.Copies = copies;
    return true;
}

std::optional<QString> SettingsDamageNotice()
{
    const QString file = QDir::toNativeSeparators(platform::registryFileName());
    if (const std::optional<platform::registryformat::Damage> damage = platform::registryDamage())
        return QStringLiteral("The settings file %1 is damaged (line %2: %3). The defaults are used until it is "
                              "repaired or removed; it is not written over.")
            .arg(file)
            .arg(damage->line)
            .arg(damage->text);
    const QStringList mistyped = mistypedValues(MainKeyPath(), MainValues)
        + mistypedValues(ScheduleKeyPath(), ScheduleValues) + mistypedValues(MailKeyPath(), MailValues);
    if (mistyped.isEmpty())
        return std::nullopt;
    return QStringLiteral("The settings file %1 holds values of the wrong type: %2. They are read as their "
                          "defaults, and the next save of the settings replaces them.")
        .arg(file, mistyped.join(QStringLiteral(", ")));
}

QString ReadDefaultDat()
{
    const std::unique_ptr<RegistryKey> key = RegistryKey::open(MainKeyPath(), RegistryKey::Mode::OpenExisting);
    return key ? key->readString(QStringLiteral("DefaultDat")).value_or(QString()) : QString();
}

bool WriteDefaultDat(const QString &path)
{
    const std::unique_ptr<RegistryKey> key = RegistryKey::open(MainKeyPath(), RegistryKey::Mode::OpenOrCreate);
    if (!key)
        return false;
    key->writeString(QStringLiteral("DefaultDat"), path);
    return key->flush();
}

} // namespace zentavo
