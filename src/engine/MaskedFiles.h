#pragma once

#include <QDir>
#include <QFileInfoList>
#include <QString>

// The files (or, with other filters, the entries) that a path names: the
// file itself, or for a mask in its file-name part every entry of its folder
// that the mask matches. Names without a mask compare exactly, as the file
// system does.
QFileInfoList entriesMatching(const QString &pathOrMask,
                              QDir::Filters filters = QDir::Files | QDir::Hidden | QDir::System);
