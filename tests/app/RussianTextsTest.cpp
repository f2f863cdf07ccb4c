// The suite's Russian language file, lying beside this test program as it
// lies beside the programs once the user switches to it: every key it holds
// is one the programs know and fits the text's capacity, and the windows of
// all three programs show its texts.
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "WidgetTest.h"
#include "editor/widgets/Pelvo.h"
#include "engine/widgets/FZentavo.h"
#include "engine/widgets/ZetuPause.h"
#include "platform/FileLock.h"
#include "platform/RegistryKey.h"
#include "report/widgets/ViewRep.h"
#include "scheduler/widgets/Tray.h"
#include "settings/widgets/SetTime.h"
#include "settings/widgets/VorrinUnit.h"
#include "shared/ConstStr.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

using namespace zentavo;

namespace {

struct Entry {
    QString section;
    QString key;
    QString value;
};

// The file read strictly: every line is a section, a key=value pair, a
// ";" comment or empty, and ends in CR LF.
std::vector<Entry> readEntries(const QByteArray &bytes, QStringList &faults)
{
    std::vector<Entry> entries;
    QStringDecoder decoder("windows-1251");
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        faults << QStringLiteral("not code page 1251");
    if (!text.endsWith(QStringLiteral("\r\n")) || text.count(u'\n') != text.count(QStringLiteral("\r\n")))
        faults << QStringLiteral("lines do not all end in CR LF");
    static const QRegularExpression sectionLine(QStringLiteral("^\\[([A-Za-z0-9]+)\\]$"));
    static const QRegularExpression keyLine(QStringLiteral("^([A-Za-z0-9.]+)=(.*)$"));
    QString section;
    std::set<std::pair<QString, QString>> seen;
    for (const QString &line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        if (line.startsWith(u';'))
            continue;
        if (const auto match = sectionLine.match(line); match.hasMatch()) {
            section = match.captured(1);
        } else if (const auto pair = keyLine.match(line); pair.hasMatch() && !section.isEmpty()) {
            entries.push_back({section, pair.captured(1), pair.captured(2)});
            if (!seen.insert({section, pair.captured(1)}).second)
                faults << QStringLiteral("twice: [%1] %2").arg(section, pair.captured(1));
        } else {
            faults << QStringLiteral("not a section or key line: ") + line;
        }
    }
    return entries;
}

// What a component shows that a key of its form's section may set.
QStringList shownTexts(QObject *component)
{
    QStringList texts;
    if (auto *widget = qobject_cast<QWidget *>(component)) {
        if (widget->isWindow())
            texts << widget->windowTitle();
        texts << widget->toolTip();
        QWidget *stack = widget->parentWidget();
        if (auto *tabs = qobject_cast<QTabWidget *>(stack ? stack->parentWidget() : nullptr);
            tabs && tabs->indexOf(widget) >= 0)
            texts << tabs->tabText(tabs->indexOf(widget));
    }
    if (auto *label = qobject_cast<QLabel *>(component))
        texts << label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(component))
        texts << button->text();
    if (auto *group = qobject_cast<QGroupBox *>(component))
        texts << group->title();
    if (auto *menu = qobject_cast<QMenu *>(component))
        texts << menu->title();
    if (auto *action = qobject_cast<QAction *>(component))
        texts << action->text();
    return texts;
}

// Every window of the three programs, made as the programs make them.
class RussianTextsTest : public ProgramWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        platform::setRegistryFolder(dir.filePath(QStringLiteral("config")));
        oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        QDir().mkpath(dir.filePath(QStringLiteral("run")));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.filePath(QStringLiteral("run"))));
        platform::setPrompter(std::make_unique<ScriptedPrompter>());
        QStringList faults;
        entries = readEntries(testfiles::readBytes(LanguageFilePath()), faults);
        ASSERT_FALSE(entries.empty()) << qPrintable(LanguageFilePath());
        EXPECT_TRUE(faults.isEmpty()) << qPrintable(faults.join(u'\n'));
    }

    void TearDown() override
    {
        windows.clear();
        platform::setPrompter(nullptr);
        platform::setRegistryFolder(QString());
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
    }

    void makeEveryWindow()
    {
        auto main = std::make_unique<TFormZentavo>(
            VorrinSettings{}, ZentavoSettings{}, [](const VorrinSettings &) { return VorrinSettings{}; },
            QStringLiteral("The Zentavo"));
        new TFormPause(main.get(), main->windowTitle()); // owned by the main window
        windows.push_back(std::move(main));
        windows.push_back(std::make_unique<TFormVorrin>());
        windows.push_back(std::make_unique<TFormRep>());
        windows.push_back(std::make_unique<TFormSetTime>());
        windows.push_back(std::make_unique<pelvo::TFormEditor>(true));
        windows.push_back(std::make_unique<TTrayForm>(nullptr));
    }

    // Every window whose component name is the section (a shared form is
    // made by more than one program).
    static QList<QWidget *> formsOf(const QString &section)
    {
        QList<QWidget *> forms;
        for (QWidget *widget : QApplication::allWidgets()) {
            if (widget->objectName() == section && widget->isWindow())
                forms << widget;
        }
        return forms;
    }

    // Why the form does not show the entry's value; empty when it does.
    static QString faultOf(QWidget *form, const Entry &entry)
    {
        if (entry.key == entry.section)
            return form->windowTitle() == entry.value ? QString() : QStringLiteral("title ") + form->windowTitle();
        static const QRegularExpression item(QStringLiteral("^(.+)\\.Items([1-9][0-9]*)$"));
        if (const auto match = item.match(entry.key); match.hasMatch()) {
            auto *combo = form->findChild<QComboBox *>(match.captured(1));
            const int index = match.captured(2).toInt() - 1;
            if (!combo || index >= combo->count())
                return QStringLiteral("no such item");
            return combo->itemText(index) == entry.value ? QString() : combo->itemText(index);
        }
        static const QRegularExpression column(QStringLiteral("^(.+)\\.Columns([1-9][0-9]*)$"));
        if (const auto match = column.match(entry.key); match.hasMatch()) {
            auto *grid = form->findChild<QTableWidget *>(match.captured(1));
            const QTableWidgetItem *header = grid ? grid->horizontalHeaderItem(match.captured(2).toInt() - 1) : nullptr;
            if (!header)
                return QStringLiteral("no such column");
            return header->text() == entry.value ? QString() : header->text();
        }
        QObject *component = form->findChild<QObject *>(entry.key);
        if (!component)
            return QStringLiteral("no such component");
        // A label may show its text inside a frame of its own, as the
        // exclusions' separator note does.
        const QStringList shown = shownTexts(component);
        const bool showsValue = std::any_of(shown.cbegin(), shown.cend(),
                                            [&](const QString &text) { return text.contains(entry.value); });
        return showsValue ? QString() : shown.join(QStringLiteral(" | "));
    }

    QTemporaryDir dir;
    QByteArray oldRuntime;
    std::vector<Entry> entries;
    std::vector<std::unique_ptr<QWidget>> windows;
};

TEST_F(RussianTextsTest, EveryTextKeyIsKnownFitsItsCapacityAndIsLoadedAtStart)
{
    std::map<QString, const LanguageText *> known;
    for (const LanguageText &text : LanguageTexts())
        known[text.section.toString() + u'/' + text.key.toString()] = &text;

    int texts = 0;
    for (const Entry &entry : entries) {
        const bool dayCaption
            = entry.section == QStringLiteral("DaysOfWeek") && entry.key.startsWith(QStringLiteral("DayOfWeek"));
        if (entry.section != QStringLiteral("sStrings")
            && (entry.section != QStringLiteral("DaysOfWeek") || dayCaption))
            continue;
        ++texts;
        const auto it = known.find(entry.section + u'/' + entry.key);
        if (it == known.end()) {
            ADD_FAILURE() << "unknown key [" << qPrintable(entry.section) << "] " << qPrintable(entry.key);
            continue;
        }
        EXPECT_LE(entry.value.size(), it->second->capacity) << qPrintable(entry.key) << ": " << qPrintable(entry.value);
        // The start-up load of this program read the file beside it.
        EXPECT_EQ(*it->second->text, entry.value) << qPrintable(entry.key);
    }
    EXPECT_GT(texts, 0);
}

// A text added to the programs without its translation shows in English
// among the Russian ones.
TEST_F(RussianTextsTest, EveryTextOfTheProgramsIsTranslated)
{
    std::set<std::pair<QString, QString>> translated;
    for (const Entry &entry : entries)
        translated.insert({entry.section, entry.key});
    for (const LanguageText &text : LanguageTexts())
        EXPECT_TRUE(translated.count({text.section.toString(), text.key.toString()}))
            << "no [" << qPrintable(text.section.toString()) << "] " << qPrintable(text.key.toString());
}

TEST_F(RussianTextsTest, EveryWindowShowsTheTextsOfItsSection)
{
    makeEveryWindow();
    const QStringList common{QStringLiteral("ButtonBrowse"), QStringLiteral("ButtonCancel"), QStringLiteral("ButtonOk"),
                             QStringLiteral("ButtonHelp")};
    for (const Entry &entry : entries) {
        if (entry.section == QStringLiteral("sStrings")
            || (entry.section == QStringLiteral("DaysOfWeek") && entry.key.startsWith(QStringLiteral("DOFW"))))
            continue;
        if (entry.section == QStringLiteral("Common") || entry.section == QStringLiteral("DaysOfWeek")) {
            // Shown by every form that has a component of that name.
            const bool knownKey = entry.section == QStringLiteral("Common")
                ? common.contains(entry.key)
                : QRegularExpression(QStringLiteral("^DayOfWeek[0-6]$")).match(entry.key).hasMatch();
            EXPECT_TRUE(knownKey) << "unknown key [" << qPrintable(entry.section) << "] " << qPrintable(entry.key);
            for (QWidget *form : QApplication::topLevelWidgets()) {
                if (form->findChild<QObject *>(entry.key)) {
                    EXPECT_EQ(faultOf(form, entry), QString()) << qPrintable(form->objectName() + u' ' + entry.key);
                }
            }
            continue;
        }
        const QList<QWidget *> forms = formsOf(entry.section);
        if (forms.isEmpty()) {
            ADD_FAILURE() << "no window named " << qPrintable(entry.section);
            continue;
        }
        for (QWidget *form : forms)
            EXPECT_EQ(faultOf(form, entry), QString())
                << "[" << qPrintable(entry.section) << "] " << qPrintable(entry.key) << "=" << qPrintable(entry.value);
    }
}

} // namespace
