#pragma once

#include "ZATypes.h"

#include <QIODevice>
#include <QString>

#include <cstdint>

class TZABaseArchiver;
class TZADirManager;
class TZAStream;

// What the commit and the file selection need of the archiver that runs
// them: its open directory and stream, the search base, its settings as its
// user set them, and its events (each answered by the handler or the safe
// default).
class TZAArchiveContext
{
public:
    virtual ~TZAArchiveContext() = default;

    virtual const TZABaseArchiver &Settings() const = 0;
    virtual TZADirManager &Directory() = 0;
    virtual TZAStream &Stream() = 0;
    // The folder that masks and relative names are resolved against while
    // files are searched.
    virtual QString &SearchBase() = 0;

    virtual void UpdateCompressionMethod() = 0;
    virtual bool CopyTempFileToDest(QIODevice &source, TZAStream &dest, qint64 count, bool showProgress) = 0;

    virtual void DoOnOverallProgress(double progress, TZAProcessOperation operation, TZAProgressPhase phase,
                                     bool &cancel) = 0;
    virtual void DoOnFileProgress(const QString &fileName, double progress, TZAProcessOperation operation,
                                  TZAProgressPhase phase, bool &cancel) = 0;
    virtual void DoOnProcessFileFailure(const QString &fileName, TZAProcessOperation operation, int nativeError,
                                        int errorCode, const QString &errorMessage, TZAAction &action) = 0;
    virtual void DoOnConfirmOverwrite(const QString &sourceFileName, QString &destFileName, bool &confirm) = 0;
    virtual void DoOnConfirmProcessFile(const QString &fileName, TZAProcessOperation operation,
                                        bool &confirm) = 0;
    virtual void DoOnStoreFile(QString &fileName, uint32_t &fileAttr, QString &comment,
                               const QString &originalFileName) = 0;
};
