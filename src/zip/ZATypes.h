#pragma once

#include <cstdint>

// Enumerations of the archiver's surface; their order is the order the
// caller's settings and event handlers were written against.

enum TZACompressionLevel : uint8_t { clNone, clFastest, clNormal, clMax };

enum TZASpanningMode : uint8_t { smNone, smSpanning, smSplitting };

enum TZAStorePathMode : uint8_t { spNoPath, spRelativePath, spFullPath, spFullPathWithDrive };

enum TZAFileShareMode : uint8_t { smShareCompat, smShareExclusive, smShareDenyWrite, smShareDenyRead, smShareDenyNone };

enum TZAOverwriteMode : uint8_t { omPrompt, omAlways, omNever, omIfNewer, omIfOlder };

enum TZip64Mode : uint8_t { zmDisabled, zmAuto, zmAlways };

enum TZAVolumeSize : uint8_t {
    vsAutoDetect,
    vsCustom,
    vs1_44MB,
    vs100MB,
    vs200MB,
    vs250MB,
    vs600MB,
    vs650MB,
    vs700MB,
    vs4700MB
};

enum TZAProcessOperation : uint8_t {
    poAdd,
    poMove,
    poDelete,
    poUpdate,
    poExtract,
    poTest,
    poRename,
    poChangeAttr,
    poChangeComment,
    poMakeSFX
};

enum TZAProgressPhase : uint8_t { ppStart, ppProcess, ppEnd };

enum TZAAction : uint8_t { fxaRetry, fxaIgnore, fxaAbort };

// How the archive file is opened: the low two bits give the access
// (0 read-only); create replaces the file.
enum class TZAFileMode : uint16_t { ReadOnlyDenyNone = 0x0040, ReadWriteDenyWrite = 0x0022, Create = 0xFFFF };
