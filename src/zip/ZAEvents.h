#pragma once

#include "zip/ZATypes.h"

#include <QString>

#include <cstdint>
#include <functional>

class TZABaseArchiver;

// Event handlers of the archiver. Each runs synchronously on the thread
// that called the archiver; "var" parameters of the events are references.
using TZANotifyEvent = std::function<void(TZABaseArchiver &sender)>;
using TZAProgressEvent = std::function<void(TZABaseArchiver &sender, double progress, TZAProcessOperation operation,
                                            TZAProgressPhase phase, bool &cancel)>;
using TZAFileProgressEvent = std::function<void(TZABaseArchiver &sender, const QString &fileName, double progress,
                                                TZAProcessOperation operation, TZAProgressPhase phase, bool &cancel)>;
using TZACopyTempFileProgressEvent
    = std::function<void(TZABaseArchiver &sender, double progress, TZAProgressPhase phase, bool &cancel)>;
using TZAConfirmOverwriteEvent
    = std::function<void(TZABaseArchiver &sender, const QString &sourceFileName, QString &destFileName, bool &confirm)>;
using TZAConfirmProcessFileEvent = std::function<void(TZABaseArchiver &sender, const QString &fileName,
                                                      TZAProcessOperation operation, bool &confirm)>;
using TZAProcessFileFailureEvent
    = std::function<void(TZABaseArchiver &sender, const QString &fileName, TZAProcessOperation operation,
                         int nativeError, int errorCode, const QString &errorMessage, TZAAction &action)>;
using TZAOnRequestBlankVolumeEvent
    = std::function<void(TZABaseArchiver &sender, int volumeNumber, QString &volumeFileName, bool &cancel)>;
using TZAOnRequestVolumeEvent = std::function<void(TZABaseArchiver &sender, QString &volumeFileName, bool &cancel)>;
using TZAOnRequestMiddleVolumeEvent
    = std::function<void(TZABaseArchiver &sender, int volumeNumber, QString &volumeFileName, bool &cancel)>;
using TZAOnDiskFullEvent
    = std::function<void(TZABaseArchiver &sender, int volumeNumber, const QString &volumeFileName, bool &cancel)>;
using TZAOnStoreFileEvent = std::function<void(TZABaseArchiver &sender, QString &fileName, uint32_t &fileAttr,
                                               QString &comment, const QString &originalFileName)>;
