#pragma once

#include <QFlags>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QPrinter;

namespace platform {

enum class PromptIcon { None, Information, Question, Warning, Error };

enum class PromptButton {
    None = 0,
    Ok = 0x01,
    Cancel = 0x02,
    Yes = 0x04,
    No = 0x08,
    Retry = 0x10,
    Ignore = 0x20,
    Abort = 0x40,
};
Q_DECLARE_FLAGS(PromptButtons, PromptButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(PromptButtons)

struct MessageRequest {
    QString title;
    QString text;
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButton::Ok;
    // When set, the box offers a Help button that calls it and stays open.
    std::function<void()> help;
    // When above 0, the box closes by itself after this many milliseconds
    // and the answer is PromptButton::None: nobody was there to answer.
    int timeoutMs = 0;
    // When false the box is shown and the call returns at once (None): a
    // notice that must not stop the user from working in the other windows,
    // such as a tray icon that appears while it is open.
    bool waits = true;
};

struct InputRequest {
    QString title;
    QString prompt;
    QString value; // the text the box starts with
};

// Open picks an existing file; Save any name, new or existing, and leaves
// the question whether to replace a file to the caller.
struct FileRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    QString folder;   // where the dialog starts
    QString fileName; // the name it starts with
    QString filter;   // "Job files (*.dat);;All files (*)"
    QString defaultSuffix;
};

struct FolderRequest {
    QString title;
    QString root;  // the dialog stays below it when not empty
    QString start; // the folder selected at first
};

struct FindRequest {
    QString title;
    QString text; // the text to find
    bool down = true;
    bool matchCase = false;
};

// Every message box, input box and file, folder, find and print dialog of the
// programs goes through this one interface: the programs install the Qt
// dialogs, tests install scripted answers. Callable from any thread.
class Prompter {
public:
    virtual ~Prompter() = default;
    // The button that closed the box (Cancel or the box's only button when
    // it was closed otherwise; None when its time limit ran out).
    virtual PromptButton message(const MessageRequest &request) = 0;
    // The entered text; nullopt when cancelled.
    virtual std::optional<QString> input(const InputRequest &request) = 0;
    // The chosen file; nullopt when cancelled.
    virtual std::optional<QString> fileName(const FileRequest &request) = 0;
    // The chosen folder; nullopt when cancelled.
    virtual std::optional<QString> folder(const FolderRequest &request) = 0;
    // The text to find with the chosen direction and case; nullopt when
    // cancelled. The request gives what the dialog starts with.
    virtual std::optional<FindRequest> find(const FindRequest &request) = 0;
    // Lets the user set up the printer; False when cancelled.
    virtual bool printSetup(QPrinter &printer) = 0;
    // Whether anybody can see the programs' windows and boxes and answer or
    // close them. Where nobody can, a program never waits for a window to
    // be closed.
    virtual bool canBeSeen() const = 0;
};

// The prompter in use. Without an installed one every prompt is answered as
// cancelled and logged, so a program never blocks on a dialog nobody sees.
Prompter &prompter();
// Installs a prompter; nullptr goes back to the cancelling one.
void setPrompter(std::unique_ptr<Prompter> prompter);

} // namespace platform
