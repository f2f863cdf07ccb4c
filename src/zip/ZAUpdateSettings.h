#pragma once

#include "zip/ZAOptions.h"
#include "zip/ZATypes.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// The archiver's settings as one update reads them: what the file selection
// and the commit need to make and write entries, taken when they start.
struct TZAUpdateSettings {
    QString FileName;
    QString BaseDir;
    QString TempDir;
    QString Password;
    TZAOptions Options;
    QStringList NoCompressionMasks;
    TZip64Mode Zip64Mode = zmAuto;
    bool InMemory = false;
    int CompressionMode = 0;
    uint16_t CompressionMethod = 0;
    bool StandardSignatures = false;
};
