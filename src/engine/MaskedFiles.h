#pragma once

#include "platform/FolderWalk.h"

#include <QList>
#include <QString>

// The files (with withFolders, also the folders) that a path names: the
// file itself, or for a mask in its file-name part every entry of its
// folder that the mask matches. Names without a mask compare exactly, as
// the file system does.
QList<platform::FolderEntry> entriesMatching(const QString &pathOrMask, bool withFolders = false);
