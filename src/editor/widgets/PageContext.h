#pragma once

#include <functional>

class QWidget;

namespace pelvo {

class EditorDocument;

// What every job page shares with the window: the document, whose job
// shown the pages show and whose edits they make, and the job navigation
// keys. A page fills its controls with their signals blocked, so that only
// what the user does reaches the document.
struct PageContext {
    EditorDocument &document;
    // Page Up / Page Down walk through the jobs; installed on every editing
    // control of the pages.
    std::function<void(QWidget *control)> watchKeys;
};

} // namespace pelvo
