#pragma once

#include <QString>

// The component's own message texts (English, not localised) and the map
// from native error codes to public ones.
namespace zaconst {

// The public code of a native code; 0 for a code outside the map.
int publicCodeOf(int nativeError);

// The text of a public code; empty for a code without text.
QString messageOf(int publicCode);

// Why a file whose name is not valid UTF-8 stays out of an archive: the
// headers could not give it back under the same bytes. It counts as a file
// that could not be opened (public code 12).
QString nameNotStorable(const QString &readableName);

} // namespace zaconst
