#pragma once

#include <QString>

#include <functional>

namespace zentavo {

// Where no default job file is set: asks the user, in a box with the given
// title, whether to create one now (its Help button shows how), and on Yes
// runs the editor through runEditor, which returns when it ended. True when
// the editor ran; the caller then reads the settings again, since the
// editor may have made its job file the default.
bool OfferJobFileEditor(const QString &title, const std::function<bool()> &runEditor);

} // namespace zentavo
