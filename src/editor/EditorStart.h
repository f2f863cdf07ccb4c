#pragma once

#include <QString>
#include <QStringList>

namespace pelvo {

// The job file the editor starts with: the first argument when it names a
// ".dat" file, else the default job file; NoNameDat when neither is given.
// The argument may come quoted or as the switch "/jobs.dat"; an absolute
// path keeps its leading separator. A name without a folder is taken from
// the program's folder.
QString StartJobFile(const QStringList &arguments, const QString &defaultDat, const QString &programFolder);

} // namespace pelvo
