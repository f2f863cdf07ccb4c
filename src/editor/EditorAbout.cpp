#include "EditorAbout.h"

#include "platform/VersionBlock.h"
#include "shared/ZetuUnit.h"

#include <QStringList>

namespace pelvo {

QString EditorAboutText(const platform::VersionBlock &mainProgram, const platform::VersionBlock &own)
{
    using zentavo::AboutPiece;
    return QStringList{
        zentavo::AboutLines(mainProgram, {AboutPiece::Product, AboutPiece::Description, AboutPiece::FileVersion}),
        zentavo::AboutLines(own, {AboutPiece::Description, AboutPiece::FileVersion, AboutPiece::Copyright})}
        .join(QStringLiteral("\n\n"))
        .trimmed();
}

} // namespace pelvo
