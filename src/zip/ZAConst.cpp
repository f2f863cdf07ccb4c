#include "ZAConst.h"

#include <array>
#include <utility>

namespace zaconst {

namespace {

const std::array<const char16_t *, 41> Messages = {
    u"Unknown error",
    u"Index out of bounds",
    u"Invalid compression mode. Mode must be in [0-9] range",
    u"Unexpected nil pointer",
    u"Invalid size or check sum of file or unsupported compression format",
    u"File name is blank. Specify appropriate file name",
    u"File \"%1\" not found",
    u"Archive is not open",
    u"SFXStub property is not specified",
    u"Cannot create file \"%1\"",
    u"Cannot create directory \"%1\"",
    u"Internal error. Update is not started",
    u"Cannot open file \"%1\"",
    u"Cannot proceed when update is not ended. Preceding EndUpdate call is required.",
    u"Cannot delete file \"%1\"",
    u"In-memory archive can be created only",
    u"File is open in read-only mode",
    u"Invalid compressed size, rfs.size = %1, count = %2",
    u"Invalid archive file.",
    u"Cannot create output file. Probably file is locked by another process. FileName = '%1'.",
    u"Archive is open. You should close it beore performing this operation.",
    u"Unable to create directory",
    u"Cannot find Zip64 directory end record",
    u"Cannot compress file '%1'. Zip64 mode is not enabled",
    u"Cannot open archive file. Opening aborted or invalid file",
    u"Write to stream error",
    u"Cannot place SFX stub on volume. Volume size limit is too small",
    u"Archive is damaged. Open failed",
    u"MakeSFX is not allowed for splitted or spanned archives. Set SFXStub before archive creation instead of MakeSFX",
    u"Archive already has SFX stub",
    u"Multi-volume archive is not allowed for custom stream",
    u"Multi-spanned archive is not allowed for modification. Use BeginUpdate/EndUpdate methods to add files several times",
    u"Deflate64 compression method is not supported",
    u"MakeSFX error",
    u"Hashed list of file names is invalid",
    u"Cannot delete folder \"%1\"",
    u"File name is too long: \r\n\"%1\"",
    u"Multiple transactions are not supported for multi-volume archives",
    u"",
    u"",
    u"",
};

// (native, public) pairs; the first row of a native code decides.
const std::array<std::pair<int, int>, 63> NativeToPublic = {{
    {0, 0},   {1, 1},   {2, 1},   {3, 1},   {4, 1},   {5, 2},   {6, 3},   {7, 1},
    {8, 4},   {9, 5},   {10, 5},  {11, 6},  {12, 6},  {13, 7},  {14, 7},  {15, 6},
    {16, 1},  {17, 8},  {18, 6},  {19, 9},  {20, 10}, {21, 1},  {22, 11}, {23, 9},
    {24, 1},  {25, 11}, {26, 13}, {27, 14}, {28, 15}, {29, 5},  {30, 6},  {31, 6},
    {32, 16}, {33, 12}, {34, 17}, {35, 18}, {36, 19}, {37, 20}, {38, 6},  {39, 21},
    {40, 22}, {41, 23}, {42, 6},  {43, 23}, {44, 24}, {45, 24}, {46, 25}, {47, 26},
    {48, 27}, {49, 28}, {50, 29}, {51, 30}, {52, 31}, {53, 6},  {54, 6},  {55, 32},
    {56, 33}, {57, 27}, {58, 34}, {59, 34}, {60, 35}, {61, 36}, {62, 37},
}};

} // namespace

int publicCodeOf(int nativeError)
{
    for (const auto &[native, publicCode] : NativeToPublic) {
        if (native == nativeError)
            return publicCode;
    }
    return 0;
}

QString messageOf(int publicCode)
{
    if (publicCode < 0 || publicCode >= int(Messages.size()))
        return {};
    return QString::fromUtf16(Messages[size_t(publicCode)]);
}

QString nameNotStorable(const QString &readableName)
{
    return QStringLiteral("Cannot store the name of file \"%1\": it is not valid UTF-8, the file is left out")
        .arg(readableName);
}

} // namespace zaconst
