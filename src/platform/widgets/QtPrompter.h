#pragma once

#include "platform/Prompter.h"

#include <qnamespace.h>

namespace platform {

// The prompter of the programs: Qt's standard dialogs, owned by the active
// window. A call from a worker thread is carried to the GUI thread and waits
// there for the answer, since widgets live on the GUI thread only.
// Whether anybody can see and answer a box: not on the offscreen or the
// minimal platform, nor without any screen.
bool BoxesCanBeSeen();

class QtPrompter final : public Prompter {
public:
    // Where boxes cannot be seen, a message is written to standard error and
    // answered at once as a box whose time limit ran out (PromptButton::None).
    // With Qt::WindowModal a box blocks only the window it belongs to (the
    // active one, if any), so that the program's other windows, such as the
    // scheduler's icon, go on taking clicks; ApplicationModal blocks them all.
    explicit QtPrompter(bool boxesSeen = BoxesCanBeSeen(), Qt::WindowModality modality = Qt::ApplicationModal);

    PromptButton message(const MessageRequest &request) override;
    std::optional<QString> input(const InputRequest &request) override;
    std::optional<QString> fileName(const FileRequest &request) override;
    std::optional<QString> folder(const FolderRequest &request) override;
    std::optional<FindRequest> find(const FindRequest &request) override;
    bool printSetup(QPrinter &printer) override;
    bool canBeSeen() const override { return m_boxesSeen; }

private:
    bool m_boxesSeen;
    Qt::WindowModality m_modality;
};

} // namespace platform
