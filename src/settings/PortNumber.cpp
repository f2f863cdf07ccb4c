#include "PortNumber.h"

namespace zentavo {

std::optional<quint16> PortNumber(const QString &text)
{
    bool isNumber = false;
    const int port = text.trimmed().toInt(&isNumber);
    if (!isNumber || port < 1 || port > 65535)
        return std::nullopt;
    return quint16(port);
}

} // namespace zentavo
