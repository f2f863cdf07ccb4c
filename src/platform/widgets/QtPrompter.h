#pragma once

#include "Prompter.h"

namespace platform {

// The prompter of the programs: Qt's standard dialogs, owned by the active
// window. A call from a worker thread is carried to the GUI thread and waits
// there for the answer, since widgets live on the GUI thread only.
class QtPrompter final : public Prompter {
public:
    PromptButton message(const MessageRequest &request) override;
    std::optional<QString> input(const InputRequest &request) override;
    std::optional<QString> fileName(const FileRequest &request) override;
    std::optional<QString> folder(const FolderRequest &request) override;
    std::optional<FindRequest> find(const FindRequest &request) override;
    bool printSetup(QPrinter &printer) override;
};

} // namespace platform
