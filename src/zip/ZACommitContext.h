#pragma once

#include "zip/ZATypes.h"

#include <QIODevice>
#include <QString>

class TZADirManager;
class TZAStream;

// What the commit needs of the archiver that runs it: its open directory
// and stream, the copy that reports its progress, and the events of the
// entries it writes (each answered by the handler or the safe default).
class TZACommitContext {
public:
    virtual ~TZACommitContext() = default;

    virtual TZADirManager &Directory() = 0;
    virtual TZAStream &Stream() = 0;
    // False when the copy was cancelled.
    virtual bool CopyTempFileToDest(QIODevice &source, TZAStream &dest, qint64 count, bool showProgress) = 0;

    virtual void DoOnOverallProgress(double progress, TZAProcessOperation operation, TZAProgressPhase phase,
                                     bool &cancel)
        = 0;
    virtual void DoOnFileProgress(const QString &fileName, double progress, TZAProcessOperation operation,
                                  TZAProgressPhase phase, bool &cancel)
        = 0;
    virtual void DoOnProcessFileFailure(const QString &fileName, TZAProcessOperation operation, int nativeError,
                                        int errorCode, const QString &errorMessage, TZAAction &action)
        = 0;
};
