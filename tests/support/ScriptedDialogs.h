#pragma once

#include "platform/widgets/DialogRunner.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

// Shows a dialog, for as long as it lives, the way exec() shows it: modal,
// application-wide unless the dialog was given another modality. For a step
// that needs its dialog on the screen and blocking what it blocks.
class ShownModally final {
public:
    explicit ShownModally(QDialog &dialog) : m_dialog(dialog), m_wasModal(dialog.testAttribute(Qt::WA_ShowModal))
    {
        dialog.setAttribute(Qt::WA_ShowModal, true);
        dialog.show();
    }
    ~ShownModally()
    {
        m_dialog.hide();
        m_dialog.setAttribute(Qt::WA_ShowModal, m_wasModal);
    }
    ShownModally(const ShownModally &) = delete;
    ShownModally &operator=(const ShownModally &) = delete;

private:
    QDialog &m_dialog;
    bool m_wasModal;
};

// Plays the user's part on the programs' modal dialogs: each expected dialog
// is a step that gets the built dialog (check its fields, change them, press
// its buttons) and returns its result. A dialog without a step fails the test
// and is rejected. Installed for the lifetime of the object.
class ScriptedDialogs final {
public:
    using Step = std::function<int(QDialog &)>;

    ScriptedDialogs()
    {
        auto runner = std::make_unique<Runner>(*this);
        platform::setDialogRunner(std::move(runner));
    }
    ~ScriptedDialogs() { platform::setDialogRunner(nullptr); }
    ScriptedDialogs(const ScriptedDialogs &) = delete;
    ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;

    // Adds a step for the next dialog; its objectName must be the one given.
    void expect(const QString &objectName, Step step) { m_steps.push_back({objectName, std::move(step)}); }

    // The objectNames of the dialogs shown so far.
    const std::vector<QString> &shown() const { return m_shown; }
    bool allPlayed() const { return m_steps.empty(); }

private:
    struct Expected {
        QString objectName;
        Step step;
    };

    class Runner final : public platform::DialogRunner {
    public:
        explicit Runner(ScriptedDialogs &script) : m_script(script) {}
        int run(QDialog &dialog) override { return m_script.play(dialog); }

    private:
        ScriptedDialogs &m_script;
    };

    int play(QDialog &dialog)
    {
        m_shown.push_back(dialog.objectName());
        if (m_steps.empty()) {
            ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString();
            return QDialog::Rejected;
        }
        Expected next = std::move(m_steps.front());
        m_steps.pop_front();
        EXPECT_EQ(dialog.objectName(), next.objectName);
        return next.step(dialog);
    }

    std::deque<Expected> m_steps;
    std::vector<QString> m_shown;
};
