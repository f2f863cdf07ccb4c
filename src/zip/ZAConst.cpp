#include "ZAConst.h"

#include <array>
#include <utility>

namespace zaconst {

namespace {

const std::array<std::pair<ErrorCode, const char16_t *>, 42> Messages = {{
    {ecUnknown, u"Unknown error"},
    {ecIndexOutOfBounds, u"Index out of bounds"},
    {ecInvalidCompressionMode, u"Invalid compression mode. Mode must be in [0-9] range"},
    {ecNilPointer, u"Unexpected nil pointer"},
    {ecInvalidData, u"Invalid size or check sum of file or unsupported compression format"},
    {ecBlankFileName, u"File name is blank. Specify appropriate file name"},
    {ecFileNotFound, u"File \"%1\" not found"},
    {ecArchiveNotOpen, u"Archive is not open"},
    {ecNoSFXStub, u"SFXStub property is not specified"},
    {ecCannotCreateFile, u"Cannot create file \"%1\""},
    {ecCannotCreateDirectory, u"Cannot create directory \"%1\""},
    {ecUpdateNotStarted, u"Internal error. Update is not started"},
    {ecCannotOpenFile, u"Cannot open file \"%1\""},
    {ecUpdateNotEnded, u"Cannot proceed when update is not ended. Preceding EndUpdate call is required."},
    {ecCannotDeleteFile, u"Cannot delete file \"%1\""},
    {ecInMemoryCreateOnly, u"In-memory archive can be created only"},
    {ecReadOnly, u"File is open in read-only mode"},
    {ecInvalidCompressedSize, u"Invalid compressed size, rfs.size = %1, count = %2"},
    {ecInvalidArchive, u"Invalid archive file."},
    {ecOutputLocked, u"Cannot create output file. Probably file is locked by another process. FileName = '%1'."},
    {ecArchiveIsOpen, u"Archive is open. You should close it beore performing this operation."},
    {ecUnableToCreateDirectory, u"Unable to create directory"},
    {ecNoZip64EndRecord, u"Cannot find Zip64 directory end record"},
    {ecZip64Disabled, u"Cannot compress file '%1'. Zip64 mode is not enabled"},
    {ecOpenAborted, u"Cannot open archive file. Opening aborted or invalid file"},
    {ecWriteFailed, u"Write to stream error"},
    {ecStubTooLarge, u"Cannot place SFX stub on volume. Volume size limit is too small"},
    {ecArchiveDamaged, u"Archive is damaged. Open failed"},
    {ecMakeSFXOnVolumes,
     u"MakeSFX is not allowed for splitted or spanned archives. Set SFXStub before archive creation instead of "
     u"MakeSFX"},
    {ecHasSFXStub, u"Archive already has SFX stub"},
    {ecVolumesOnCustomStream, u"Multi-volume archive is not allowed for custom stream"},
    {ecMultiVolumeModification,
     u"Multi-spanned archive is not allowed for modification. Use BeginUpdate/EndUpdate methods to add files several "
     u"times"},
    {ecDeflate64, u"Deflate64 compression method is not supported"},
    {ecMakeSFXFailed, u"MakeSFX error"},
    {ecNameIndexInvalid, u"Hashed list of file names is invalid"},
    {ecCannotDeleteFolder, u"Cannot delete folder \"%1\""},
    {ecNameTooLong, u"File name is too long: \r\n\"%1\""},
    {ecMultipleTransactions, u"Multiple transactions are not supported for multi-volume archives"},
    {ecArchiveInUse, u"Archive \"%1\" is in use by another program"},
    {ecEntryPassedOver, u"\"%1\" is left out"},
    {ecDiskFull, u"Cannot write to \"%1\": %2"},
    {ecCannotLock, u"Cannot lock the archive by its lock file \"%1\": %2"},
}};

// The first row of a native code decides.
const std::array<std::pair<NativeError, ErrorCode>, 67> NativeToPublic = {{
    {neUnknown, ecUnknown},
    {neSetItemIndex, ecIndexOutOfBounds},
    {neGetItemIndex, ecIndexOutOfBounds},
    {neItemPtrIndex, ecIndexOutOfBounds},
    {neDeleteItemIndex, ecIndexOutOfBounds},
    {neCompressionMode, ecInvalidCompressionMode},
    {neReserved6, ecNilPointer},
    {neKeptEntryNotSaved, ecIndexOutOfBounds},
    {neReserved8, ecInvalidData},
    {neOpenBlankName, ecBlankFileName},
    {neOpenModeBlankName, ecBlankFileName},
    {neStubNotFound, ecFileNotFound},
    {neArchiveNotFound, ecFileNotFound},
    {neNotActive, ecArchiveNotOpen},
    {neReserved14, ecArchiveNotOpen},
    {neReserved15, ecFileNotFound},
    {neReserved16, ecIndexOutOfBounds},
    {neReserved17, ecNoSFXStub},
    {neReserved18, ecFileNotFound},
    {neCannotCreateFile, ecCannotCreateFile},
    {neReserved20, ecCannotCreateDirectory},
    {neReserved21, ecIndexOutOfBounds},
    {neReserved22, ecUpdateNotStarted},
    {neReserved23, ecCannotCreateFile},
    {neReserved24, ecIndexOutOfBounds},
    {neReserved25, ecUpdateNotStarted},
    {neReserved26, ecUpdateNotEnded},
    {neReserved27, ecCannotDeleteFile},
    {neInMemoryOpenExisting, ecInMemoryCreateOnly},
    {neInMemoryNoFileName, ecBlankFileName},
    {neReserved30, ecFileNotFound},
    {neReserved31, ecFileNotFound},
    {neReadOnly, ecReadOnly},
    {neCannotOpenFile, ecCannotOpenFile},
    {neSourceSizeChanged, ecInvalidCompressedSize},
    {neInvalidArchive, ecInvalidArchive},
    {neReserved36, ecOutputLocked},
    {neReserved37, ecArchiveIsOpen},
    {neReserved38, ecFileNotFound},
    {neReserved39, ecUnableToCreateDirectory},
    {neNoZip64EndRecord, ecNoZip64EndRecord},
    {neZip64DisabledAfterCompression, ecZip64Disabled},
    {neReserved42, ecFileNotFound},
    {neZip64Disabled, ecZip64Disabled},
    {neDamagedVolumes, ecOpenAborted},
    {neVolumeRequestCancelled, ecOpenAborted},
    {neWriteFailed, ecWriteFailed},
    {neStubTooLarge, ecStubTooLarge},
    {neNoEndRecord, ecArchiveDamaged},
    {neReserved49, ecMakeSFXOnVolumes},
    {neReserved50, ecHasSFXStub},
    {neReserved51, ecVolumesOnCustomStream},
    {neMultiVolumeModification, ecMultiVolumeModification},
    {neReserved53, ecFileNotFound},
    {neReserved54, ecFileNotFound},
    {neReserved55, ecDeflate64},
    {neReserved56, ecMakeSFXFailed},
    {neDamagedDirectory, ecArchiveDamaged},
    {neReserved58, ecNameIndexInvalid},
    {neReserved59, ecNameIndexInvalid},
    {neReserved60, ecCannotDeleteFolder},
    {neNameTooLong, ecNameTooLong},
    {neSecondTransaction, ecMultipleTransactions},
    {neArchiveInUse, ecArchiveInUse},
    {neEntryPassedOver, ecEntryPassedOver},
    {neDiskFull, ecDiskFull},
    {neCannotLock, ecCannotLock},
}};

} // namespace

ErrorCode publicCodeOf(NativeError nativeError)
{
    for (const auto &[native, publicCode] : NativeToPublic) {
        if (native == nativeError)
            return publicCode;
    }
    return ecUnknown;
}

QString messageOf(ErrorCode publicCode)
{
    for (const auto &[code, text] : Messages) {
        if (code == publicCode)
            return QString::fromUtf16(text);
    }
    return {};
}

QString nameNotStorable(const QString &readableName)
{
    return QStringLiteral("Cannot store the name of file \"%1\": it is not valid UTF-8, the file is left out")
        .arg(readableName);
}

} // namespace zaconst
