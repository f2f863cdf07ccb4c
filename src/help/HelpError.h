#pragma once

#include <QString>

#include <stdexcept>

namespace help {

// A help request or help data that cannot be carried out; the text is meant
// for the user.
class EHelpError : public std::runtime_error {
public:
    explicit EHelpError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

} // namespace help
