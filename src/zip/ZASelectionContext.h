#pragma once

#include "zip/ZATypes.h"

#include <QString>

#include <cstdint>

class TZADirManager;

// What the file selection needs of the archiver that runs it: the directory
// it marks items in, the folder that masks and relative names are resolved
// against while files are searched, and the events that ask about each
// file (each answered by the handler or the safe default).
class TZASelectionContext {
public:
    virtual ~TZASelectionContext() = default;

    virtual TZADirManager &Directory() = 0;
    virtual QString &SearchBase() = 0;

    virtual void DoOnProcessFileFailure(const QString &fileName, TZAProcessOperation operation, int nativeError,
                                        int errorCode, const QString &errorMessage, TZAAction &action)
        = 0;
    virtual void DoOnConfirmOverwrite(const QString &sourceFileName, QString &destFileName, bool &confirm) = 0;
    virtual void DoOnConfirmProcessFile(const QString &fileName, TZAProcessOperation operation, bool &confirm) = 0;
    virtual void DoOnStoreFile(QString &fileName, uint32_t &fileAttr, QString &comment, const QString &originalFileName)
        = 0;
};
