#pragma once

#include "ScriptedDialogs.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "WidgetTest.h"
#include "editor/widgets/ArchivePage.h"
#include "editor/widgets/JobPages.h"
#include "editor/widgets/PelvaroStart.h"
#include "platform/RegistryKey.h"
#include "settings/VorrinStore.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>

#include <memory>

// The editor's window started as a user starts it, with its prompts and
// dialogs scripted, its settings in a folder of the test's own and no other
// program of the suite around.
class EditorFixture : public ProgramWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        platform::setRegistryFolder(path(QStringLiteral("config")));
        m_oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path(QStringLiteral("run"))));
        QDir().mkpath(path(QStringLiteral("run")));
        auto scripted = std::make_unique<ScriptedPrompter>();
        prompts = scripted.get();
        platform::setPrompter(std::move(scripted));
        dialogs = std::make_unique<ScriptedDialogs>();
    }

    void TearDown() override
    {
        if (form)
            form->hide();
        form.reset();
        EXPECT_TRUE(dialogs->allPlayed());
        dialogs.reset();
        EXPECT_TRUE(prompts->buttons.empty() && prompts->texts.empty()) << "prompt answers left unused";
        platform::setPrompter(nullptr);
        platform::setRegistryFolder(QString());
        qputenv("XDG_RUNTIME_DIR", m_oldRuntime);
    }

    QString path(const QString &relative) const { return dir.filePath(relative); }

    void start(const QStringList &arguments = {}) { form = pelvo::StartPelvaro(arguments); }

    // A job file of numbered jobs "Job 1" ... with archive "/arc/N.zip" and one source.
    QString writeJobs(int count, const QString &name = QStringLiteral("Jobs.dat"))
    {
        QStringList lines{QStringLiteral("hand-made")};
        for (int i = 1; i <= count; ++i) {
            lines << QStringLiteral(">") << QStringLiteral("Job %1").arg(i) << QStringLiteral("/arc/%1.zip").arg(i)
                  << QStringLiteral("D=/home/src%1").arg(i) << QStringLiteral("C=") << QStringLiteral("E=");
        }
        const QString file = path(name);
        testfiles::writeBytes(file, testfiles::cp1251Lines(lines));
        return file;
    }

    void setDefaultDat(const QString &value)
    {
        const auto key = platform::RegistryKey::open(zentavo::MainKeyPath(), platform::RegistryKey::Mode::OpenOrCreate);
        ASSERT_TRUE(key);
        key->writeString(QStringLiteral("DefaultDat"), value);
        ASSERT_TRUE(key->flush());
    }

    QStringList jobNames() const
    {
        QStringList names;
        for (int i = 0; i < form->ComboBoxName->count(); ++i)
            names << form->ComboBoxName->itemText(i);
        return names;
    }

    pelvo::ArchivePage &archive() { return *form->Pages().Archive; }

    // The texts of the message boxes shown so far.
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const platform::MessageRequest &request : prompts->messages)
            texts << request.text;
        return texts;
    }

    // Types into an edit as a user does: the edit's own modified mark is set.
    static void type(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        edit->insert(text);
    }

    QTemporaryDir dir;
    ScriptedPrompter *prompts = nullptr;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<pelvo::TFormEditor> form;

private:
    QByteArray m_oldRuntime;
};
