#pragma once

#include <QString>
#include <QStringList>

// Header lines as the message keeps them: "Name: value; param=value; ...",
// never folded in memory. Double quotes protect ":" ";" "=" inside them.
namespace smtpmail {

// The value between the first ":" and the first ";" outside quotes, trimmed
// and without surrounding double quotes.
QString GetHeaderValue(const QString &line);
// The line with its value replaced; its parameters stay.
QString SetHeaderValue(const QString &line, const QString &value);

// The value of the named parameter (name compared case-insensitively), trimmed
// and without surrounding double quotes; empty when absent.
QString GetParamValue(const QString &line, const QString &name);
// The line with the parameter's value replaced, or "; name=value" appended.
QString SetParamValue(const QString &line, const QString &name, const QString &value);

// Index of the n-th line (from 0) that begins with the prefix, compared
// case-insensitively; -1 when there is none.
qsizetype FindHeaderLine(const QStringList &lines, const QString &prefix, int n = 0);

// Header text with CR LF line ends, each line longer than 72 characters cut at
// a blank, "," or ";" outside quotes and encoded words, continued after a tab.
QString FoldHeaderLine(const QString &header);

// The text from pos up to and including the next CR LF; pos moves after it,
// or becomes -1 when the end of the text was reached.
QString NextLine(const QString &text, qsizetype &pos);

// Leading tabs and blanks and trailing blanks removed (trailing tabs stay).
QString TrimBlanks(const QString &text);
QString TrimLeftBlanks(const QString &text);
// The left-trimmed text cut to its last n characters or filled on the left to n.
QString PadLeft(const QString &text, qsizetype n, const QString &fill);

} // namespace smtpmail
