#pragma once

#include "editor/PelvoExt.h"

#include <QString>

namespace pelvo {

// The field that keeps a job from being saved: a job needs an archive name
// and at least one source.
enum class MissingField { None, ArchiveName, Sources };
MissingField missingField(const TBlock &block);

// Why a job cannot carry the name: an empty name, or one that a reader of
// the job file would take for a section mark or a comment, or that breaks
// the line. Empty when the name is fine.
QString jobNameProblem(const QString &name);

} // namespace pelvo
