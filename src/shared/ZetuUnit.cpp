#include "ZetuUnit.h"

#include "platform/PowerControl.h"
#include "platform/Prompter.h"
#include "platform/VersionBlock.h"
#include "shared/SuiteMessages.h"

#include <QStringList>

namespace zentavo {

QString GetProductName()
{
    return platform::VersionBlock::ofRunningProgram().productName();
}

QString GetProductTitle()
{
    return GetProductName().left(CaptionZentavo.size());
}

QString AboutLines(const platform::VersionBlock &block, std::initializer_list<AboutPiece> pieces)
{
    QStringList lines;
    const auto add = [&lines](const QString &prefix, const QString &value) {
        if (!value.isEmpty())
            lines << prefix + value;
    };
    for (const AboutPiece piece : pieces) {
        switch (piece) {
        case AboutPiece::Product:
            add({}, QStringList{block.productName(), block.productVersion()}.join(u' ').trimmed());
            break;
        case AboutPiece::Description: add({}, block.fileDescription()); break;
        case AboutPiece::FileVersion: add(QStringLiteral("File version "), block.fileVersion()); break;
        case AboutPiece::Copyright: add({}, block.legalCopyright()); break;
        }
    }
    return lines.join(u'\n');
}

QString GetVersionInfoStr()
{
    const platform::VersionBlock block = platform::VersionBlock::ofRunningProgram();
    QString text = block.productName();
    const QString version = block.productVersion();
    if (!version.isEmpty())
        text += u' ' + version;
    const QString copyright = block.legalCopyright();
    if (!copyright.isEmpty())
        text += u'\n' + copyright;
    return text;
}

qint32 IntPow(qint32 base, qint32 exponent)
{
    // Unsigned arithmetic wraps by definition; the result is the same bit
    // pattern a 32-bit signed multiplication that wraps would give.
    quint32 result = 1;
    for (qint32 i = 0; i < exponent; ++i)
        result *= static_cast<quint32>(base);
    return static_cast<qint32>(result);
}

bool RunProgram(const QString &commandLine, bool wait, platform::StopFlags stopFlags)
{
    return platform::startProgram(commandLine, wait, stopFlags) != platform::ProgramRun::NotStarted;
}

bool SelectFolder(const QString &caption, const QString &root, QString &folder)
{
    const std::optional<QString> chosen = platform::prompter().folder({caption, root, folder});
    if (!chosen)
        return false;
    folder = *chosen;
    return true;
}

bool PowerOffComputer()
{
    return platform::powerControl().powerOff();
}

} // namespace zentavo
