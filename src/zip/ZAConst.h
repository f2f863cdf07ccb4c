#pragma once

#include <QString>

// The component's own message texts (English, not localised) and the map
// from native error codes to public ones.
namespace zaconst {

// The public code of a native code; 0 for a code outside the map.
int publicCodeOf(int nativeError);

// The text of a public code; empty for a code without text.
QString messageOf(int publicCode);

} // namespace zaconst
