#include "BuiltInCommand.h"

#include <QRegularExpression>

bool BuiltInCommand::isBuiltIn(const QString &line)
{
    const QString word = line.left(4).toUpper();
    return word == QStringLiteral("CCPY") || word == QStringLiteral("CREN") || word == QStringLiteral("CDEL");
}

std::optional<BuiltInCommand> BuiltInCommand::parse(const QString &line)
{
    static const QRegularExpression transfer(QStringLiteral(R"re(^(CCPY|CREN) "([^"]+)" TO "([^"]+)"$)re"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression removal(QStringLiteral(R"re(^CDEL "([^"]+)"$)re"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (const auto match = transfer.match(line); match.hasMatch()) {
        const Kind kind = match.captured(1).toUpper() == QStringLiteral("CCPY") ? Kind::Copy : Kind::Move;
        return BuiltInCommand{kind, match.captured(2), match.captured(3)};
    }
    if (const auto match = removal.match(line); match.hasMatch())
        return BuiltInCommand{Kind::Delete, match.captured(1), {}};
    return std::nullopt;
}
