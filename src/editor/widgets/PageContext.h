#pragma once

#include "editor/PelvoExt.h"

#include <functional>

class QWidget;

namespace pelvo {

// What every job page shares with the window: the job shown, the change
// mark and the job navigation keys.
class PageContext {
public:
    // The job shown; nullptr while there is none.
    std::function<TBlock *()> block;
    // The jobs differ from the file now.
    std::function<void()> markChanged;
    // Page Up / Page Down walk through the jobs; installed on every editing
    // control of the pages.
    std::function<void(QWidget *control)> watchKeys;

    // False while the display fills the controls: the change handlers then
    // write back what was just shown and mark nothing.
    bool FormFilled = false;

    // A change the user made: marked only while the form is filled.
    void changed() const
    {
        if (FormFilled)
            markChanged();
    }
};

} // namespace pelvo
