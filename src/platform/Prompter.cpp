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
    std::optional<QString> input(const InputRequest &request) override
    {
        refuse(request.title);
        return std::nullopt;
    }
    std::optional<QString> fileName(const FileRequest &request) override
    {
        refuse(request.title);
        return std::nullopt;
    }
    std::optional<QString> folder(const FolderRequest &request) override
    {
        refuse(request.title);
        return std::nullopt;
    }
    std::optional<FindRequest> find(const FindRequest &request) override
    {
        refuse(request.title);
        return std::nullopt;
    }
    bool printSetup(QPrinter &) override
    {
        refuse(QStringLiteral("print dialog"));
        return false;
    }
    bool canBeSeen() const override { return false; }

private:
    static void refuse(const QString &what) { qWarning().noquote() << "No prompter installed; cancelled:" << what; }
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
