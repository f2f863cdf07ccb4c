#pragma once

#include "help/HtmlHelpApi.h"

#include <QStringList>

#include <memory>

// A help runtime that writes down what it is asked for, one line a request;
// tests install it as the process's help runtime.
class RecordingHelpRuntime final : public help::HtmlHelpRuntime {
public:
    QStringList calls;
    QPoint cursor{400, 300};
    bool answer = true;

    bool DisplayTopic(const QString &helpFile, const QString &topic) override
    {
        return record(QStringLiteral("topic %1::/%2").arg(helpFile, topic));
    }
    bool HelpContext(const QString &helpFile, int context) override
    {
        return record(QStringLiteral("context %1 %2").arg(helpFile).arg(context));
    }
    bool DisplayContents(const QString &helpFile) override { return record(QStringLiteral("contents ") + helpFile); }
    bool DisplayIndex(const QString &helpFile) override { return record(QStringLiteral("index ") + helpFile); }
    bool DisplayTextPopup(const help::HelpPopupRequest &r) override
    {
        return record(QStringLiteral("popup %1::/%2 %3 \"%4\" at %5,%6")
                          .arg(r.helpFile, r.popupTopics)
                          .arg(r.context)
                          .arg(r.text)
                          .arg(r.position.x())
                          .arg(r.position.y()));
    }
    void CloseAll() override { record(QStringLiteral("close all")); }
    QPoint CursorPosition() const override { return cursor; }

    // Installs a fresh recorder as the runtime (unloading the one before) and
    // returns it; it lives until the runtime is unloaded.
    static RecordingHelpRuntime &install()
    {
        help::UnloadHtmlHelp();
        help::SetHtmlHelpLoader([] { return std::make_unique<RecordingHelpRuntime>(); });
        help::LoadHtmlHelp();
        return static_cast<RecordingHelpRuntime &>(*help::HtmlHelp());
    }

private:
    bool record(const QString &call)
    {
        calls << call;
        return answer;
    }
};
