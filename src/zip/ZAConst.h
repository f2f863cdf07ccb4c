#pragma once

#include <QString>

// The component's error codes, the map from native codes to public ones and
// the public codes' texts (English, not localised).
namespace zaconst {

// Public codes: what a caller tests (EZAException::ErrorCode). Several
// native codes share one.
enum ErrorCode : int {
    ecUnknown = 0,
    ecIndexOutOfBounds = 1,
    ecInvalidCompressionMode = 2,
    ecNilPointer = 3,
    ecInvalidData = 4,
    ecBlankFileName = 5,
    ecFileNotFound = 6,
    ecArchiveNotOpen = 7,
    ecNoSFXStub = 8,
    ecCannotCreateFile = 9,
    ecCannotCreateDirectory = 10,
    ecUpdateNotStarted = 11,
    ecCannotOpenFile = 12,
    ecUpdateNotEnded = 13,
    ecCannotDeleteFile = 14,
    ecInMemoryCreateOnly = 15,
    ecReadOnly = 16,
    ecInvalidCompressedSize = 17,
    ecInvalidArchive = 18,
    ecOutputLocked = 19,
    ecArchiveIsOpen = 20,
    ecUnableToCreateDirectory = 21,
    ecNoZip64EndRecord = 22,
    ecZip64Disabled = 23,
    ecOpenAborted = 24,
    ecWriteFailed = 25,
    ecStubTooLarge = 26,
    ecArchiveDamaged = 27,
    ecMakeSFXOnVolumes = 28,
    ecHasSFXStub = 29,
    ecVolumesOnCustomStream = 30,
    ecMultiVolumeModification = 31,
    ecDeflate64 = 32,
    ecMakeSFXFailed = 33,
    ecNameIndexInvalid = 34,
    ecCannotDeleteFolder = 35,
    ecNameTooLong = 36,
    ecMultipleTransactions = 37,
    ecArchiveInUse = 38,
    // A link, pipe or device that the search passed over: told, not failed.
    ecEntryPassedOver = 39,
    // The archive's own disk refused a write (a full fixed disk, most
    // often): the archive, and the system's reason.
    ecDiskFull = 40,
    // The archive's lock file could not be had: its name, and the system's
    // reason. Nothing is written without the lock.
    ecCannotLock = 41,
};

// Native codes: where inside the component a failure arose
// (EZAException::NativeError). The reserved ones are raised by no operation
// of this component; they keep their place in the map, so that every code a
// handler may be given still has its public code.
enum NativeError : int {
    neUnknown = 0,
    neSetItemIndex = 1,
    neGetItemIndex = 2,
    neItemPtrIndex = 3,
    neDeleteItemIndex = 4,
    neCompressionMode = 5,
    neReserved6 = 6,
    neKeptEntryNotSaved = 7,
    neReserved8 = 8,
    neOpenBlankName = 9,
    neOpenModeBlankName = 10,
    neStubNotFound = 11,
    neArchiveNotFound = 12,
    neNotActive = 13,
    neReserved14 = 14,
    neReserved15 = 15,
    neReserved16 = 16,
    neReserved17 = 17,
    neReserved18 = 18,
    neCannotCreateFile = 19,
    neReserved20 = 20,
    neReserved21 = 21,
    neReserved22 = 22,
    neReserved23 = 23,
    neReserved24 = 24,
    neReserved25 = 25,
    neReserved26 = 26,
    neReserved27 = 27,
    neInMemoryOpenExisting = 28,
    neInMemoryNoFileName = 29,
    neReserved30 = 30,
    neReserved31 = 31,
    neReadOnly = 32,
    neCannotOpenFile = 33,
    neSourceSizeChanged = 34,
    neInvalidArchive = 35,
    neReserved36 = 36,
    neReserved37 = 37,
    neReserved38 = 38,
    neReserved39 = 39,
    neNoZip64EndRecord = 40,
    neZip64DisabledAfterCompression = 41,
    neReserved42 = 42,
    neZip64Disabled = 43,
    neDamagedVolumes = 44,
    neVolumeRequestCancelled = 45,
    neWriteFailed = 46,
    neStubTooLarge = 47,
    neNoEndRecord = 48,
    neReserved49 = 49,
    neReserved50 = 50,
    neReserved51 = 51,
    neMultiVolumeModification = 52,
    neReserved53 = 53,
    neReserved54 = 54,
    neReserved55 = 55,
    neReserved56 = 56,
    neDamagedDirectory = 57,
    neReserved58 = 58,
    neReserved59 = 59,
    neReserved60 = 60,
    neNameTooLong = 61,
    neSecondTransaction = 62,
    neArchiveInUse = 63,
    neEntryPassedOver = 64,
    neDiskFull = 65,
    neCannotLock = 66,
};

// The public code of a native code; ecUnknown for a code outside the map.
ErrorCode publicCodeOf(NativeError nativeError);

// The text of a public code; empty for a code without text.
QString messageOf(ErrorCode publicCode);

// Why a file whose name is not valid UTF-8 stays out of an archive: the
// headers could not give it back under the same bytes. It counts as a file
// that could not be opened (neCannotOpenFile, ecCannotOpenFile).
QString nameNotStorable(const QString &readableName);

} // namespace zaconst
