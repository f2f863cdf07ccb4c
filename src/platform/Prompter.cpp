#include "Prompter.h"

#include "platform/InstalledService.h"

#include <QDebug>

namespace platform {

namespace {

class CancellingPrompter final : public Prompter {
public:
    PromptButton message(const MessageRequest &request) override
    {
        refuse(request.title + QStringLiteral(": ") + request.text);
        return request.buttons.testFlag(PromptButton::Cancel) ? PromptButton::Cancel
            : request.buttons.testFlag(PromptButton::No)      ? PromptButton::No
                                                              : PromptButton::Ok;
    }
    std::optional<QString> input(const InputRequest &request) override { return refuse(request.title); }
    std::optional<QString> fileName(const FileRequest &request) override { return refuse(request.title); }
    std::optional<QString> folder(const FolderRequest &request) override { return refuse(request.title); }
    std::optional<FindRequest> find(const FindRequest &request) override { return refuse(request.title); }
    bool printSetup(QPrinter &) override
    {
        refuse(QStringLiteral("print dialog"));
        return false;
    }
    bool canBeSeen() const override { return false; }

private:
    // Every request is cancelled the same way; the text names it in the log.
    static std::nullopt_t refuse(const QString &what)
    {
        qWarning().noquote() << "No prompter installed; cancelled:" << what;
        return std::nullopt;
    }
};

using Installed = InstalledService<Prompter, CancellingPrompter>;

} // namespace

Prompter &prompter()
{
    return Installed::current();
}

void setPrompter(std::unique_ptr<Prompter> prompter)
{
    Installed::install(std::move(prompter));
}

} // namespace platform
