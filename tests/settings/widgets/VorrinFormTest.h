#pragma once

#include "ScriptedDialogs.h"
#include "ScriptedPrompter.h"
#include "WidgetTest.h"
#include "platform/RegistryKey.h"
#include "settings/VorrinStore.h"
#include "settings/widgets/VorrinUnit.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

// The settings dialog on a store of its own in a temporary folder, with the
// user's answers to its prompts and dialogs scripted.
class VorrinFormTest : public WidgetTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        platform::setRegistryFolder(m_dir.filePath(QStringLiteral("config")));
        // No program of the suite listens here: saves post into the void.
        m_oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path()));
        auto prompter = std::make_unique<ScriptedPrompter>();
        m_prompter = prompter.get();
        platform::setPrompter(std::move(prompter));
        m_context.productTitle = QStringLiteral("The Zentavo");
        m_context.defaultFolder = m_dir.path() + u'/';
        m_context.temporaryFolder = QStringLiteral("/var/tmp");
    }
    void TearDown() override
    {
        platform::setPrompter(nullptr);
        platform::setRegistryFolder(QString());
        qputenv("XDG_RUNTIME_DIR", m_oldRuntime);
    }

    std::unique_ptr<zentavo::TFormVorrin> newForm() const
    {
        return std::make_unique<zentavo::TFormVorrin>(nullptr, m_context);
    }

    QTemporaryDir m_dir;
    QByteArray m_oldRuntime;
    zentavo::VorrinLoadContext m_context;
    ScriptedPrompter *m_prompter = nullptr;
    ScriptedDialogs m_dialogs;
};
