#pragma once

#include "zip/ZATypes.h"

#include <cstdint>

class TZAVolumeNumberInfo;

// Search and storage options of the archiver. The extraction options are
// kept so that stored settings round-trip; nothing here extracts.
struct TZAOptions {
    bool Recurse = true;
    TZAStorePathMode StorePath = spRelativePath;
    TZAFileShareMode ShareMode = smShareDenyNone;
    TZAOverwriteMode OverwriteMode = omAlways;
    bool CreateDirs = true;
    bool ReplaceReadOnly = true;
    bool SetAttributes = true;
    int SearchAttr = 0x28BF;
    bool FlushBuffers = true;
    bool OEMFileNames = true;
    // Threads that compress new entries; 0 takes one per processor core.
    // The archive is the same whatever the number.
    int Threads = 0;
};

// Volume naming and sizes of split archives.
class TZASpanningOptions {
public:
    bool AdvancedNaming = true;
    int64_t FirstVolumeSize = 0;
    TZAVolumeSize VolumeSize = vsAutoDetect;

    int64_t CustomVolumeSize() const { return m_customVolumeSize; }
    // Values below 64 KiB are raised to it: a smaller volume cannot hold
    // the records that must not be split.
    void SetCustomVolumeSize(int64_t size);

    // The size limit of the volume, -1 when the free space decides.
    int64_t GetVolumeSize(const TZAVolumeNumberInfo &volume) const;

private:
    int64_t m_customVolumeSize = 0;
};
