#pragma once

#include <QString>

#include <optional>

namespace zentavo {

// The port a port setting names: a whole number from 1 to 65535. The save
// refuses any other text, and the mails are sent to this port.
std::optional<quint16> PortNumber(const QString &text);

} // namespace zentavo
