#pragma once

#include <QString>

// Names the message builder makes up: boundaries, file names and extensions,
// and the test for a numeric host.
namespace smtpmail {

// "boundary" followed by 8 random upper-case hexadecimal digits.
QString MakeBoundary();
// The usual file extension of a MIME type with its dot (".txt"), or empty.
QString GetExtensionByMimeType(const QString &mimeType);
// Every dot-separated piece reads as a non-negative integer.
bool IsIPAddress(const QString &host);
// Trimmed, at most 254 characters, control and reserved characters made "_".
QString SafeFileName(const QString &text);

} // namespace smtpmail
