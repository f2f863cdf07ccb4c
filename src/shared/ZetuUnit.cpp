#include "ZetuUnit.h"

#include "PowerControl.h"
#include "Prompter.h"
#include "VersionBlock.h"

#include <QPainter>
#include <QPen>
#include <QRect>
#include <QStringList>

#include <cmath>
#include <stdexcept>

namespace zentavo {

QString GetProductName()
{
    return platform::VersionBlock::ofRunningProgram().productName();
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
        case AboutPiece::Description:
            add({}, block.fileDescription());
            break;
        case AboutPiece::FileVersion:
            add(QStringLiteral("File version "), block.fileVersion());
            break;
        case AboutPiece::Copyright:
            add({}, block.legalCopyright());
            break;
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

void GradientFill(QPainter &canvas, const QRect &rect, bool horizontal, const QList<QColor> &colours)
{
    if (colours.size() < 2)
        throw std::invalid_argument("Please specify at least two colors.");
    const int length = horizontal ? rect.width() : rect.height();
    const int bands = static_cast<int>(colours.size()) - 1;
    // Halves round to the even neighbour, here and for the colour channels.
    const int bandSize = static_cast<int>(std::nearbyint(static_cast<double>(length) / bands));

    const QPen keptPen = canvas.pen();
    QPen pen(Qt::SolidLine);
    pen.setWidth(1);
    for (int q = 0; q < bands; ++q) {
        const QColor from = colours.at(q).toRgb();
        const QColor to = colours.at(q + 1).toRgb();
        const int lines = q == bands - 1 ? length - q * bandSize - 1 : bandSize;
        for (int p = 0; p <= lines; ++p) {
            // A band of zero lines draws its one line in the start colour.
            const double t = lines > 0 ? static_cast<double>(p) / lines : 0.0;
            const auto mix = [t](int start, int end) {
                return static_cast<int>(std::nearbyint(start + (end - start) * t));
            };
            pen.setColor(QColor(mix(from.red(), to.red()), mix(from.green(), to.green()),
                                mix(from.blue(), to.blue())));
            canvas.setPen(pen);
            const int position = q * bandSize + p;
            if (horizontal)
                canvas.drawLine(rect.left() + position, rect.top(), rect.left() + position, rect.bottom());
            else
                canvas.drawLine(rect.left(), rect.top() + position, rect.right(), rect.top() + position);
        }
    }
    canvas.setPen(keptPen);
}

bool PowerOffComputer()
{
    return platform::powerControl().powerOff();
}

} // namespace zentavo
