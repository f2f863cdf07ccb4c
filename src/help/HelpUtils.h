#pragma once

#include <QByteArray>
#include <QString>

namespace help {

// The hash that control names are looked up by in a help context map. It
// ignores the case of letters and wraps in signed 32-bit arithmetic, so that
// the maps built by earlier releases keep their values.
qint32 HashName(const QByteArray &name);
// The name in the suite's code page (control names are plain ASCII).
qint32 HashName(const QString &name);

} // namespace help
